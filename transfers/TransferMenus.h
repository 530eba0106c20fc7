#pragma once

#include <string_view>

#include "controls/MenuTable.h"
#include "core/TransferItem.h"

namespace korvana {

// The downloads list's context menus and their commands.
enum TransferMenuId : int {
    kMenuWebDownload = 145,       // a running web download
    kMenuNoDownload = 148,        // a click below the rows
    kMenuEndedDownload = 149,     // a download that is not running
    kMenuCoreDownload = 155,      // a running core download
    kMenuPausedDownload = 156,    // a paused core download
    kMenuFinishedDownload = 157,  // an ended download whose file is on disk
};

enum TransferCommandId : int {
    kCommandCancelAll = 32773,
    kCommandCancel = 32774,
    kCommandClearCompleted = 32775,
    kCommandClearDownload = 32776,
    kCommandPause = 32797,
    kCommandResume = 32798,
    // Opens the folder of a finished download's file; the page carries it
    // out, since it reaches outside the program.
    kCommandShowInFolder = 32799,
};

// The menu for a right click: by the status of the row under the cursor
// (`row` -1 when there is none) and, for a running download, by its kind as
// the row's key tells it.
TransferMenuId ChooseTransferMenu(int row, std::string_view status, const TransferKey& key);

// The rows of one of the menus above; its name is the menu's resource name.
MenuTable TransferMenu(TransferMenuId id);

}  // namespace korvana
