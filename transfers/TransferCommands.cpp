#include <optional>
#include <vector>

#include "platform/Clock.h"
#include "transfers/FinishedFiles.h"
#include "transfers/TransferBoard.h"
#include "transfers/TransferCommandSink.h"
#include "transfers/TransferList.h"
#include "transfers/TransferTexts.h"
#include "web/download/WebDownloadSink.h"

namespace korvana {

TransferMenuId TransferBoard::OpenMenu(int row) {
    menuRow_ = row >= 0 && static_cast<std::size_t>(row) < downloads_.size() ? row : -1;
    if (menuRow_ < 0) {
        menuKey_.reset();
        return ChooseTransferMenu(-1, {}, {});
    }
    const DownloadRow& shown = downloads_[static_cast<std::size_t>(menuRow_)];
    menuKey_ = shown.key;
    const TransferMenuId id = ChooseTransferMenu(menuRow_, shown.status, shown.key);
    return id == kMenuEndedDownload && FinishedFileAt(menuRow_) ? kMenuFinishedDownload : id;
}

std::optional<std::filesystem::path> TransferBoard::FinishedFileAt(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= downloads_.size()) {
        return std::nullopt;
    }
    const std::filesystem::path folder =
        services_.downloadsFolder ? services_.downloadsFolder() : std::filesystem::path();
    return FinishedFilePath(downloads_[static_cast<std::size_t>(row)], folder);
}

std::optional<std::filesystem::path> TransferBoard::MenuRowFile() const {
    const auto found = menuKey_ ? downloadRowOf_.find(*menuKey_) : downloadRowOf_.end();
    if (found == downloadRowOf_.end()) {
        return std::nullopt;
    }
    return FinishedFileAt(static_cast<int>(found->second));
}

void TransferBoard::ForgetMenuRow() {
    menuRow_ = -1;
    menuKey_.reset();
}

// Each command holds the lock for its whole run, core commands included, so
// no report or refresh sees it half done.
void TransferBoard::RunCommand(int commandId) {
    const auto lock = services_.list.Lock();
    switch (commandId) {
        case kCommandCancel:
            CancelDownload();
            break;
        case kCommandCancelAll:
            CancelAllDownloads();
            break;
        case kCommandClearCompleted:
            ClearCompleted();
            break;
        case kCommandClearDownload:
            ClearDownload();
            break;
        case kCommandPause:
            SwitchDownload(false);
            break;
        case kCommandResume:
            SwitchDownload(true);
            break;
        default:
            break;
    }
}

// The row shows the cancel at once. The core drops the file from its
// download list, so no later report brings the record back to life.
void TransferBoard::CancelCore(TransferItem& item, std::time_t now) {
    services_.core.SendCancelDownload(item.key.FileNumber());
    item.finishTime = now;
    item.cancelled = true;
    item.rate = 0.0f;
}

// A web download is cancelled while it runs, also before its size is known
// (still contacting its server or waiting for a free download thread).
void TransferBoard::CancelWeb(TransferItem& item, std::time_t now) {
    if (item.finishTime != 0 || item.errorCode != 0) {
        return;
    }
    item.finishTime = now;
    item.cancelled = true;
    // One that never reached its server would otherwise show as contacting
    // it for good.
    item.contacting = false;
    if (services_.web != nullptr) {
        services_.web->StopWebDownload(item.key.Link());
    }
}

void TransferBoard::CancelDownload() {
    const std::optional<TransferKey> key = MenuRowKey();
    TransferItem* item = key ? services_.list.FindDownload(*key) : nullptr;
    if (item == nullptr) {
        return;
    }
    const std::time_t now = services_.clock.WallNow();
    if (item->key.IsCore()) {
        CancelCore(*item, now);
    } else {
        CancelWeb(*item, now);
    }
}

// Only what has still to arrive: cancelling a finished or shared core file
// can make the core discard it.
void TransferBoard::CancelAllDownloads() {
    const std::time_t now = services_.clock.WallNow();
    services_.list.ForEachDownload([&](TransferItem& item) {
        if (item.key.IsCore()) {
            if (IsCoreDownloadUnfinished(item)) {
                CancelCore(item, now);
            }
        } else {
            CancelWeb(item, now);
        }
    });
}

// The rows of the downloads cleared go at the refresh that follows.
void TransferBoard::ClearCompleted() {
    std::vector<TransferKey> ended;
    services_.list.ForEachDownload([&](const TransferItem& item) {
        if (item.finishTime > 0 || item.errorCode > 0) {
            ended.push_back(item.key);
        }
    });
    for (const TransferKey& key : ended) {
        services_.list.RemoveDownload(key);
    }
    ForgetMenuRow();
}

void TransferBoard::ClearDownload() {
    if (const std::optional<TransferKey> key = MenuRowKey()) {
        services_.list.RemoveDownload(*key);
    }
    ForgetMenuRow();
}

// The record takes the state the command asks for, so the row agrees with
// the command at once; the core's next report of the file confirms or
// corrects it.
void TransferBoard::SwitchDownload(bool resume) {
    const std::optional<TransferKey> key = MenuRowKey();
    if (!key || !key->IsCore()) {
        return;
    }
    services_.core.SendSwitchDownload(key->FileNumber(), resume);
    if (TransferItem* item = services_.list.FindDownload(*key)) {
        item->coreState = resume ? kCoreStateDownloading : kCoreStatePaused;
        item->rate = 0.0f;
    }
}

}  // namespace korvana
