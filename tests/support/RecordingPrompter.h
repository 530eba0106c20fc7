#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/Prompter.h"

namespace korvana::test {

// Records every message box as (text, caption) and answers questions with
// `answer`.
class RecordingPrompter final : public Prompter {
  public:
    void Inform(const std::string& text, const std::string& caption) override {
        informed.emplace_back(text, caption);
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        asked.emplace_back(text, caption);
        return answer;
    }

    bool answer = false;
    std::vector<std::pair<std::string, std::string>> informed;
    std::vector<std::pair<std::string, std::string>> asked;
};

}  // namespace korvana::test
