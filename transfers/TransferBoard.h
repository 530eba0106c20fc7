#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "services/DownloadNotices.h"
#include "transfers/TransferMenus.h"
#include "transfers/TransferRows.h"
#include "transfers/TransferSort.h"
#include "util/RowChanges.h"

namespace korvana {

class Clock;
class StatusLog;
class TransferCommandSink;
class TransferList;
class WebDownloadStopper;
struct TransferItem;

struct TransferBoardServices {
    TransferList& list;
    TransferCommandSink& core;
    // Stops a cancelled web download at once; may be null.
    WebDownloadStopper* web;
    const Clock& clock;
    StatusLog& log;
    // The downloads folder as it is now, where finished downloads lie;
    // without it no file is found.
    std::function<std::filesystem::path()> downloadsFolder{};
};

// What the Transfers page shows and does, without the widgets: the rows of
// the downloads and uploads lists, brought up to date from the transfer list
// by a refresh, the uploads label, the web totals, the context menu's choice
// and its six commands. Each refresh queues the steps that bring a view's
// copy of the rows along (only rows whose texts changed), for the views to
// take. Runs on the GUI thread.
class TransferBoard {
  public:
    explicit TransferBoard(TransferBoardServices services);

    const std::vector<DownloadRow>& Downloads() const { return downloads_; }
    const std::vector<UploadRow>& Uploads() const { return uploads_; }
    const std::string& UploadsLabel() const { return uploadsLabel_; }

    // Every download's row, the upload rows with the 30-second rule and
    // their label, and the web totals, as the list and the clock stand now;
    // lowers the list's notice. Returns when the rows will next change with
    // the clock alone, if they will: while nothing runs, only a change of
    // the list changes them.
    std::optional<std::chrono::seconds> Refresh();
    // Downloads whose rows came to say they finished or failed since the
    // last take, in the order the refreshes saw them. A core download shown
    // already finished when its row first appears (one from an earlier
    // session) ended before and is not among them; a cancel by the user is
    // not an ending to tell of.
    std::vector<DownloadOutcome> TakeEndings();
    // The steps queued by the refreshes since the last take, in order.
    RowChanges<DownloadRow> TakeDownloadChanges();
    RowChanges<UploadRow> TakeUploadChanges();

    // A click on a column header of the downloads or the uploads list
    // (ListSort): the rows take the new order as one Reordered step, and
    // every later refresh keeps them in it.
    void ClickDownloadColumn(std::size_t column);
    void ClickUploadColumn(std::size_t column);
    const ListSort& DownloadSort() const { return downloadSort_; }
    const ListSort& UploadSort() const { return uploadSort_; }

    // The file of the finished download shown in `row`, when it is in the
    // downloads folder (FinishedFilePath).
    std::optional<std::filesystem::path> FinishedFileAt(int row) const;

    // A right click on `row` (-1: below the rows): remembers the row's
    // download and returns the menu to show; a finished download whose
    // file is on disk gets the menu that can show it in its folder.
    TransferMenuId OpenMenu(int row);
    int MenuRow() const { return menuRow_; }
    // The file of the last right click's download, found as FinishedFileAt.
    std::optional<std::filesystem::path> MenuRowFile() const;
    // One of the menu's commands, on the download of the last right click,
    // wherever its row has moved since. The rows show its effect at the
    // next refresh, which the page runs at once.
    void RunCommand(int commandId);

  private:
    using Wake = std::optional<std::chrono::seconds>;

    void RefreshDownloads(std::time_t now, Wake& wake);
    void RefreshUploads(std::time_t now, Wake& wake);
    void ComputeWebTotals(std::time_t now, Wake& wake);

    std::optional<TransferKey> MenuRowKey() const { return menuKey_; }
    void ForgetMenuRow();
    void KeepDownloadsSorted();
    void KeepUploadsSorted();
    void CancelDownload();
    void CancelAllDownloads();
    void CancelCore(TransferItem& item, std::time_t now);
    void CancelWeb(TransferItem& item, std::time_t now);
    void ClearCompleted();
    void ClearDownload();
    void SwitchDownload(bool resume);

    TransferBoardServices services_;
    std::vector<DownloadRow> downloads_;
    std::unordered_map<TransferKey, std::size_t> downloadRowOf_;
    RowChanges<DownloadRow> downloadChanges_;
    std::vector<DownloadOutcome> endings_;
    std::vector<UploadRow> uploads_;
    std::unordered_map<std::int32_t, std::size_t> uploadRowOf_;
    RowChanges<UploadRow> uploadChanges_;
    ListSort downloadSort_;
    ListSort uploadSort_;
    std::string uploadsLabel_ = "Uploading 0 files";
    int menuRow_ = -1;
    std::optional<TransferKey> menuKey_;
};

}  // namespace korvana
