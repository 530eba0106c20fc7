#include <set>
#include <vector>

#include "platform/Clock.h"
#include "transfers/TransferBoard.h"
#include "transfers/TransferCommandSink.h"
#include "transfers/TransferList.h"
#include "transfers/TransferTexts.h"
#include "web/download/WebDownloadSink.h"

namespace korvana {

TransferMenuId TransferBoard::OpenMenu(int row) {
    const auto lock = services_.list.Lock();
    menuRow_ = row >= 0 && static_cast<std::size_t>(row) < downloads_.RowCount() ? row : -1;
    if (menuRow_ < 0) {
        return ChooseTransferMenu(-1, {}, {});
    }
    const auto index = static_cast<std::size_t>(menuRow_);
    return ChooseTransferMenu(menuRow_, downloads_.Cell(index, kDownloadStatus),
                              downloads_.Cell(index, kDownloadLink));
}

std::string TransferBoard::MenuRowKey() const {
    if (menuRow_ < 0 || static_cast<std::size_t>(menuRow_) >= downloads_.RowCount()) {
        return {};
    }
    return downloads_.Cell(static_cast<std::size_t>(menuRow_), kDownloadLink);
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
    services_.core.SendCancelDownload(FileNumberOf(item.key));
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
        services_.web->StopWebDownload(item.key);
    }
}

void TransferBoard::CancelDownload() {
    TransferItem* item = services_.list.FindDownload(MenuRowKey());
    if (item == nullptr) {
        return;
    }
    const std::time_t now = services_.clock.WallNow();
    if (IsCoreKey(item->key)) {
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
        if (IsCoreKey(item.key)) {
            if (IsCoreDownloadUnfinished(item)) {
                CancelCore(item, now);
            }
        } else {
            CancelWeb(item, now);
        }
    });
}

void TransferBoard::ClearCompleted() {
    std::vector<std::string> ended;
    services_.list.ForEachDownload([&](const TransferItem& item) {
        if (item.finishTime > 0 || item.errorCode > 0) {
            ended.push_back(item.key);
        }
    });
    // Each ended download takes the first row that carries its key.
    std::set<std::string, std::less<>> keys(ended.begin(), ended.end());
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < downloads_.RowCount() && !keys.empty(); ++row) {
        const auto key = keys.find(downloads_.Cell(row, kDownloadLink));
        if (key != keys.end()) {
            rows.push_back(row);
            keys.erase(key);
        }
    }
    downloads_.Remove(std::move(rows));
    for (const std::string& key : ended) {
        services_.list.RemoveDownload(key);
    }
    menuRow_ = -1;
}

void TransferBoard::ClearDownload() {
    const std::string key = MenuRowKey();
    if (menuRow_ < 0) {
        return;
    }
    services_.list.RemoveDownload(key);
    downloads_.Remove({static_cast<std::size_t>(menuRow_)});
    menuRow_ = -1;
}

// The record takes the state the command asks for, so the row agrees with
// the command at once; the core's next report of the file confirms or
// corrects it.
void TransferBoard::SwitchDownload(bool resume) {
    const std::string key = MenuRowKey();
    if (menuRow_ < 0 || !IsCoreKey(key)) {
        return;
    }
    services_.core.SendSwitchDownload(FileNumberOf(key), resume);
    if (TransferItem* item = services_.list.FindDownload(key)) {
        item->coreState = resume ? kCoreStateDownloading : kCoreStatePaused;
        item->rate = 0.0f;
    }
}

}  // namespace korvana
