#include "transfers/TransferMenus.h"

#include "transfers/TransferTexts.h"
#include "util/AsciiCase.h"

namespace korvana {
namespace {

bool IsRunning(std::string_view status) {
    return status == status::kDownloading || status == status::kContacting ||
           EqualsIgnoringCase(status, status::kCoreDownloading) ||
           EqualsIgnoringCase(status, status::kCorePaused);
}

}  // namespace

TransferMenuId ChooseTransferMenu(int row, std::string_view status, const TransferKey& key) {
    if (row < 0) {
        return kMenuNoDownload;
    }
    if (!IsRunning(status)) {
        return kMenuEndedDownload;
    }
    if (!key.IsCore()) {
        return kMenuWebDownload;
    }
    return EqualsIgnoringCase(status, status::kCorePaused) ? kMenuPausedDownload
                                                           : kMenuCoreDownload;
}

MenuTable TransferMenu(TransferMenuId id) {
    const MenuItem cancel = MenuCommand("Cancel Download", kCommandCancel);
    const MenuItem cancelAll = MenuCommand("Cancel All Downloads", kCommandCancelAll);
    const MenuItem clearCompleted = MenuCommand("Clear Completed", kCommandClearCompleted);
    switch (id) {
        case kMenuWebDownload:
            return {"IDR_WEB_DOWNLOAD_MENU", {cancel, cancelAll, MenuSeparator(), clearCompleted}};
        case kMenuEndedDownload:
            return {"IDR_ENDED_DOWNLOAD_MENU",
                    {MenuCommand("Clear Download", kCommandClearDownload), cancelAll,
                     MenuSeparator(), clearCompleted}};
        case kMenuFinishedDownload:
            return {"IDR_FINISHED_DOWNLOAD_MENU",
                    {MenuCommand("Show in Folder", kCommandShowInFolder),
                     MenuCommand("Clear Download", kCommandClearDownload), cancelAll,
                     MenuSeparator(), clearCompleted}};
        case kMenuCoreDownload:
            return {"IDR_CORE_DOWNLOAD_MENU",
                    {MenuCommand("Pause Download", kCommandPause), cancel, cancelAll,
                     MenuSeparator(), clearCompleted}};
        case kMenuPausedDownload:
            return {"IDR_PAUSED_DOWNLOAD_MENU",
                    {MenuCommand("Resume Download", kCommandResume), cancel, cancelAll,
                     MenuSeparator(), clearCompleted}};
        case kMenuNoDownload:
            break;
    }
    return {"IDR_NO_DOWNLOAD_MENU", {cancelAll, MenuSeparator(), clearCompleted}};
}

}  // namespace korvana
