#include "tools/sim/ConsoleCommands.h"

#include <charconv>
#include <optional>

namespace korvana::sim {
namespace {

std::optional<int> ParsePriority(const std::string& text) {
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Everything after the command word, without surrounding blanks or quotes.
std::string RestOfLine(std::string_view line) {
    const std::size_t command = line.find_first_not_of(" \t");
    const std::size_t gap = line.find_first_of(" \t", command);
    if (command == std::string_view::npos || gap == std::string_view::npos) {
        return "";
    }
    std::string_view rest = line.substr(gap);
    rest.remove_prefix(std::min(rest.find_first_not_of(" \t"), rest.size()));
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) {
        rest.remove_suffix(1);
    }
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') {
        rest = rest.substr(1, rest.size() - 2);
    }
    return std::string(rest);
}

ConsoleOutcome Share(const std::vector<std::string>& words, std::string_view line,
                     SharedFolders& folders, WireForm form) {
    std::optional<int> priority = 0;
    std::string dirname;
    std::string strategy = "only_directory";
    const std::size_t args = words.size() - 1;
    if (args == 1) {
        dirname = words[1];
    } else if (args == 2 || args == 3) {
        priority = ParsePriority(words[1]);
        dirname = words[2];
        strategy = args == 3 ? words[3] : strategy;
    }
    const bool fits = (args >= 1 && args <= 3) && priority;
    if (!fits && form == WireForm::kDocumented) {
        priority = 0;
        dirname = RestOfLine(line);
        strategy = "only_directory";
    } else if (!fits) {
        return {args >= 1 && args <= 3 ? "Failure: int_of_string"
                                       : "Failure: Bad number of arguments"};
    }
    const std::string answer = folders.Share(dirname, *priority, strategy);
    return {answer, answer != "no such directory"};
}

ConsoleOutcome Unshare(const std::vector<std::string>& words, std::string_view line,
                       SharedFolders& folders, WireForm form) {
    std::string dirname;
    if (words.size() == 2) {
        dirname = words[1];
    } else if (form == WireForm::kDocumented && words.size() > 2) {
        dirname = RestOfLine(line);
    } else {
        return {"Bad number of arguments"};
    }
    return {folders.Unshare(dirname), true};
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '\\' && i + 1 < line.size()) {
            word += line[++i];
        } else if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\n' || c == '\r')) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
            }
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

ConsoleOutcome RunConsoleCommand(std::string_view line, SharedFolders& folders, WireForm form) {
    const std::vector<std::string> words = SplitCommandLine(line);
    if (words.empty()) {
        return {""};
    }
    const std::string& command = words[0];
    if (command == "share") {
        return Share(words, line, folders, form);
    }
    if (command == "unshare") {
        return Unshare(words, line, folders, form);
    }
    if (command == "reshare" && words.size() == 1) {
        return {"Reshare check done", true};
    }
    if (command == "save") {
        return {"options and sources saved", false, true};
    }
    return {"Unknown command " + command};
}

}  // namespace korvana::sim
