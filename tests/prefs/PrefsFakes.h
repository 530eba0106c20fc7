#pragma once

#include "tests/support/RecordingPrompter.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Prompter.h"
#include "prefs/CoreOptionsPort.h"

namespace korvana::test {

// A core that reports the options it is given (names matched ignoring case)
// and records what is sent to it, one line per command:
// "option <name>=<value>" or "command <line>".
class RecordingCore final : public CoreOptionsPort {
  public:
    void Report(const std::string& name, const std::string& value) {
        options_[Lower(name)] = value;
    }

    std::string OptionValue(const std::string& name) const override {
        const auto found = options_.find(Lower(name));
        return found == options_.end() ? std::string() : found->second;
    }
    void SendSetOption(const std::string& name, const std::string& value) override {
        sent.push_back("option " + name + "=" + value);
    }
    void SendConsoleCommand(const std::string& line) override { sent.push_back("command " + line); }
    std::optional<std::vector<CoreSharedFolder>> SharedFolders() const override { return shares; }

    std::vector<std::string> sent;
    std::optional<std::vector<CoreSharedFolder>> shares;

  private:
    static std::string Lower(std::string text) {
        for (char& c : text) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return text;
    }
    std::map<std::string, std::string> options_;
};

// Message boxes that record (text, caption) and answer questions with
// `answer`.

}  // namespace korvana::test
