#pragma once

#include <string>

namespace korvana {

class DesktopOpener;
class Prompter;

// What an update check found: a newer version and the vendor's page to get
// it from.
struct UpdateNews {
    std::string version;
    std::string downloadPage;
};

// Told by the update check's thread that a newer version exists. Called on
// that thread: an implementation hands the news to the GUI thread and
// returns at once.
class UpdateListener {
  public:
    virtual ~UpdateListener() = default;
    virtual void NewerVersionAvailable(const UpdateNews& news) = 0;
};

// The question, exactly as the user sees it. The vendor's setup program is
// for another system; on this one the newer version comes from the
// download page, and this version keeps running.
inline constexpr const char* kUpdateQuestionText =
    "            There is a newer version available.\n\n"
    "   Would you like to open its download page?";

// "Korvana - Version %s Released!" with the version.
std::string UpdateCaption(const std::string& version);

// On the GUI thread: asks whether to open the download page. On "yes" the
// page is opened in the desktop's browser (the opener tells the user when
// nothing could open it); the program goes on running either way. Returns
// the answer.
bool OfferUpdate(const UpdateNews& news, Prompter& prompter, DesktopOpener& opener);

}  // namespace korvana
