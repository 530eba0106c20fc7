#pragma once

#include <optional>

#include "prefs/CoreOptionPages.h"
#include "prefs/SharingPrefs.h"

namespace korvana {

class CoreOptionsPort;
class Prompter;

inline constexpr const char* kNotSentCaption = "Shared Folders Error";

// The dialog's Save. When a box the core reported holds no valid number, the
// user is told which (InvalidFieldsMessage), nothing at all is sent and the
// result is empty. Otherwise: the limit options, the enable and port options
// the core reported, the Sharing page's folder and share commands, then
// "save" so the core writes its configuration. Every reported setting goes
// out whether it changed or not; nothing waits for the core. Afterwards the
// user is told about files a move left behind and about folders no command
// could carry. `mover` carries out a move of the downloads folder.
std::optional<SharingSaveReport> SavePreferences(CoreOptionsPort& core, Prompter& prompter,
                                                 const GeneralFields& general,
                                                 const NetworkFields& networks,
                                                 SharingPrefs& sharing,
                                                 const FolderMover& mover = {});

// The message for folders whose share or unshare could not be sent; empty
// when there are none. Each folder is named once.
std::string NotSentMessage(const std::vector<std::string>& folders);

}  // namespace korvana
