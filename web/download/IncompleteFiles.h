#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace korvana {

// Files that grow in the Incomplete folder while a web download arrives end
// in this mark. Clearing the folder removes only such files, so that a file
// the user put there, or a finished download kept there because it could
// not be moved, is never lost.
inline constexpr std::string_view kIncompleteMark = ".korvana-part";

// The incomplete file's name for a download saved as `safeName`: the name
// (numbered when `number` is above 0) and the mark, within 255 bytes.
std::string IncompleteFileName(std::string_view safeName, int number);

// True for a name that IncompleteFileName can give.
bool IsIncompleteFileName(std::string_view name);

// A file this program created and has open for writing.
struct IncompleteFile {
    int fd = -1;
    std::filesystem::path path;
    dev_t device = 0;
    ino_t inode = 0;
};

// Creates a new incomplete file in `folder` (made when missing) for a
// download saved as `safeName`, under the first free numbered name. The
// folder must be a real folder, not a symbolic link; the file is created
// exclusively and never through a link, so a link or file already there
// under that name is neither followed nor overwritten. fd is -1 on failure.
IncompleteFile CreateIncompleteFile(const std::filesystem::path& folder, std::string_view safeName);

// True while `file.path` is still the regular file that was created, not a
// link or another file put in its place.
bool IsStillOurs(const IncompleteFile& file);

}  // namespace korvana
