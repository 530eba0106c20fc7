#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "transfers/TextTable.h"
#include "transfers/TransferMenus.h"

namespace korvana {

class Clock;
class StatusLog;
class TransferCommandSink;
class TransferList;
class WebDownloadStopper;
struct TransferItem;

// Columns of the downloads list. Column 1 holds the same percentage as the
// hidden column 7: its bar is drawn from its own text, so that every change
// of the percentage repaints the bar.
enum DownloadColumn : std::size_t {
    kDownloadName = 0,
    kDownloadBar = 1,
    kDownloadRate = 2,
    kDownloadTimeLeft = 3,
    kDownloadSize = 4,
    kDownloadStatus = 5,
    kDownloadLink = 6,
    kDownloadProgress = 7,
    kDownloadColumns = 8,
};

// Columns of the uploads list.
enum UploadColumn : std::size_t {
    kUploadName = 0,
    kUploadBytes = 1,
    kUploadFileId = 2,
    kUploadColumns = 3,
};

struct TransferBoardServices {
    TransferList& list;
    TransferCommandSink& core;
    // Stops a cancelled web download at once; may be null.
    WebDownloadStopper* web;
    const Clock& clock;
    StatusLog& log;
};

// What the Transfers page shows and does, without the widgets: the rows of
// the downloads and uploads lists, refreshed from the transfer list once a
// second, the uploads label, the web totals, the context menu's choice and
// its six commands. Runs on the GUI thread; the tables belong to it.
class TransferBoard {
  public:
    explicit TransferBoard(TransferBoardServices services);

    TextTable& Downloads() { return downloads_; }
    TextTable& Uploads() { return uploads_; }
    const std::string& UploadsLabel() const { return uploadsLabel_; }

    // The one-second refresh: every download's row, the upload rows with
    // the 30-second rule and their label, and the web totals.
    void Tick();

    // A right click on `row` (-1: below the rows): remembers the row and
    // returns the menu to show.
    TransferMenuId OpenMenu(int row);
    int MenuRow() const { return menuRow_; }
    // One of the menu's commands, on the row of the last right click.
    void RunCommand(int commandId);

  private:
    void RefreshDownloads(std::time_t now);
    void WriteDownloadRow(TransferItem& item, std::time_t now);
    void RefreshUploads(std::time_t now);
    void ComputeWebTotals(std::time_t now);

    std::string MenuRowKey() const;
    void CancelDownload();
    void CancelAllDownloads();
    void CancelCore(TransferItem& item, std::time_t now);
    void CancelWeb(TransferItem& item, std::time_t now);
    void ClearCompleted();
    void ClearDownload();
    void SwitchDownload(bool resume);

    TransferBoardServices services_;
    TextTable downloads_;
    TextTable uploads_;
    std::string uploadsLabel_ = "Uploading 0 files";
    int menuRow_ = -1;
};

}  // namespace korvana
