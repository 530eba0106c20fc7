#include "search/KnownFiles.h"

#include "util/AsciiCase.h"

namespace korvana {
namespace {

// Names listed in the question before "and N more".
constexpr std::size_t kNamesAsked = 3;

}  // namespace

bool KnownFiles::Replace(std::unordered_set<std::string>& kept,
                         const std::vector<std::string>& names) {
    std::unordered_set<std::string> folded;
    folded.reserve(names.size());
    for (const std::string& name : names) {
        folded.insert(AsciiLowered(name));
    }
    std::lock_guard lock(mutex_);
    if (folded == kept) {
        return false;
    }
    kept.swap(folded);
    return true;
}

bool KnownFiles::SetLibraryNames(const std::vector<std::string>& names) {
    return Replace(library_, names);
}

bool KnownFiles::SetTransferNames(const std::vector<std::string>& names) {
    return Replace(transfers_, names);
}

FileMark KnownFiles::Mark(std::string_view fileName) const {
    const std::string folded = AsciiLowered(fileName);
    std::lock_guard lock(mutex_);
    if (library_.contains(folded)) {
        return FileMark::InLibrary;
    }
    return transfers_.contains(folded) ? FileMark::Downloading : FileMark::None;
}

namespace {

std::string ListedNames(const std::vector<std::string>& names) {
    std::string listed;
    for (std::size_t i = 0; i < names.size() && i < kNamesAsked; ++i) {
        listed += "\n    " + names[i];
    }
    if (names.size() > kNamesAsked) {
        listed += "\n    and " + std::to_string(names.size() - kNamesAsked) + " more";
    }
    return listed;
}

}  // namespace

std::string DownloadAgainQuestion(const std::vector<std::string>& names, FileMark where) {
    const std::string place = where == FileMark::Downloading ? "the transfer list" : "your Library";
    if (names.size() == 1) {
        return "\"" + names.front() + "\" is already in " + place + ". Download it again?";
    }
    return std::to_string(names.size()) + " of the selected files are already in " + place + ":" +
           ListedNames(names) + "\n\nDownload them again?";
}

std::string NotStartedAgainText(const std::vector<std::string>& names) {
    const std::string remedy =
        "To download again, first take the finished download off the Transfers page (Clear "
        "Download).";
    if (names.size() == 1) {
        return "\"" + names.front() +
               "\" is already in the transfer list, so it was not started again.\n" + remedy;
    }
    return std::to_string(names.size()) +
           " of the selected files are already in the transfer list, so they were not started "
           "again:" +
           ListedNames(names) + "\n\n" + remedy;
}

}  // namespace korvana
