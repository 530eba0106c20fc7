#pragma once

#include <string>

namespace korvana {

// Message boxes. Texts and captions are shown exactly as given. Inform may be
// called from any thread: off the GUI thread the box is queued and the call
// returns at once. AskYesNo waits for the answer and is for the GUI thread.
class Prompter {
  public:
    virtual ~Prompter() = default;
    virtual void Inform(const std::string& text, const std::string& caption) = 0;
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
};

}  // namespace korvana
