#pragma once

#include <functional>
#include <string>

namespace korvana {

class DesktopOpener;
class Prompter;

// What an update check found: a newer version and where its setup program is.
struct UpdateNews {
    std::string version;
    std::string setupUrl;
};

// Told by the update check's thread that a newer version exists. Called on
// that thread: an implementation hands the news to the GUI thread and
// returns at once.
class UpdateListener {
  public:
    virtual ~UpdateListener() = default;
    virtual void NewerVersionAvailable(const UpdateNews& news) = 0;
};

// The question, exactly as the user sees it.
inline constexpr const char* kUpdateQuestionText =
    "            There is a newer version available.\n\n"
    "   Would you like to retrieve the setup program\n"
    "                     and exit this version?";

// "Korvana - Version %s Released!" with the version.
std::string UpdateCaption(const std::string& version);

// On the GUI thread: asks whether to fetch the setup program. On "yes" the
// setup program is opened in the desktop's browser, which downloads it, and
// `closeProgram` ends this version through its normal close sequence.
// Returns the answer.
bool OfferUpdate(const UpdateNews& news, Prompter& prompter, DesktopOpener& opener,
                 const std::function<void()>& closeProgram);

}  // namespace korvana
