#pragma once

#include <filesystem>

namespace korvana {

// Deletes a library file by moving it to the desktop's trash, so that a
// slip of the mouse loses nothing; where no trash can take it, the file is
// deleted for good. True when the file is gone from its folder.
bool MoveToTrashOrDelete(const std::filesystem::path& file);

}  // namespace korvana
