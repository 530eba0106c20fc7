#pragma once

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace korvana {

// Asks the user for a folder (Browse and Add on the Sharing page) over the
// window `owner`: the chosen folder's path as bytes, or nothing when the
// user cancels. Tests give their own answer instead of a real dialog.
using FolderPicker = std::function<std::optional<std::string>(QWidget* owner)>;

// The desktop's folder dialog, titled "Open Folder ", folders only.
std::optional<std::string> PickFolderWithDialog(QWidget* owner);

// A box to type a folder of a core on another computer: its folders are
// not on this computer's disk, so they can be neither browsed nor checked.
std::optional<std::string> PickCorePathWithDialog(QWidget* owner);

}  // namespace korvana
