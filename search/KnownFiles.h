#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace korvana {

// What the program already has of a file a result offers.
enum class FileMark { None, InLibrary, Downloading };

// The file names in the Library and in the transfer list, for marking the
// results that offer a file the user already has or is getting. The program
// hands each list's names over whenever that list changes, on its own
// thread; the search page asks for a name's mark while it paints. Names
// compare with ASCII letter case folded, extension kept.
class KnownFiles {
  public:
    // Replaces the names of one list; true when the set changed.
    bool SetLibraryNames(const std::vector<std::string>& names);
    bool SetTransferNames(const std::vector<std::string>& names);

    // The Library wins over the transfer list: a file both have is had.
    FileMark Mark(std::string_view fileName) const;

  private:
    bool Replace(std::unordered_set<std::string>& kept, const std::vector<std::string>& names);

    mutable std::mutex mutex_;
    std::unordered_set<std::string> library_;
    std::unordered_set<std::string> transfers_;
};

// The question Download Selected asks before it downloads again files the
// Library holds, or (`where` Downloading) files the transfer list already
// gets from elsewhere; `names` are theirs, at least one.
std::string DownloadAgainQuestion(const std::vector<std::string>& names,
                                  FileMark where = FileMark::InLibrary);
// What Download Selected tells of selected results whose own download the
// transfer list already holds, which are never started twice.
std::string NotStartedAgainText(const std::vector<std::string>& names);

}  // namespace korvana
