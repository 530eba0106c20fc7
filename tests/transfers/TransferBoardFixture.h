#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "TransfersTestSupport.h"
#include "core/StatusLog.h"
#include "tests/support/FakeClock.h"
#include "transfers/TransferBoard.h"
#include "transfers/TransferList.h"

namespace korvana::test {

// A transfer list with its board, a recording core and web stopper, a clock
// that moves only when told, and the rows a view would show: the board's
// queued steps applied to a copy of their own, as the page's models do.
class TransferBoardTest : public ::testing::Test {
  protected:
    static TransferItem CoreDownload(int number, std::string name, std::int64_t size,
                                     std::uint8_t state = 0, std::int64_t downloaded = 0) {
        TransferItem item;
        item.key = TransferKey::Core(number);
        item.name = std::move(name);
        item.size = size;
        item.coreState = state;
        item.downloaded = downloaded;
        return item;
    }

    void AddCore(int number, std::string name, std::int64_t size, std::uint8_t state = 0,
                 std::int64_t downloaded = 0) {
        TransferItem item = CoreDownload(number, std::move(name), size, state, downloaded);
        item.startTime = clock.WallNow();
        list.AddOrUpdateDownload(item);
    }

    std::optional<std::chrono::seconds> Tick(std::chrono::seconds step = std::chrono::seconds(1)) {
        clock.Advance(step);
        return Refresh();
    }
    // The board's refresh and the views taking its steps.
    std::optional<std::chrono::seconds> Refresh() {
        const std::optional<std::chrono::seconds> next = board.Refresh();
        downloadSteps = board.TakeDownloadChanges();
        uploadSteps = board.TakeUploadChanges();
        ApplyRowChanges(shownDownloads, downloadSteps);
        ApplyRowChanges(shownUploads, uploadSteps);
        EXPECT_TRUE(shownDownloads == board.Downloads());
        EXPECT_TRUE(shownUploads == board.Uploads());
        return next;
    }

    // A click on a header of the downloads list, and a view taking the new
    // order.
    void ClickDownloads(std::size_t column) {
        board.ClickDownloadColumn(column);
        downloadSteps = board.TakeDownloadChanges();
        ApplyRowChanges(shownDownloads, downloadSteps);
        EXPECT_TRUE(shownDownloads == board.Downloads());
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const DownloadRow& row : shownDownloads) {
            names.push_back(row.name);
        }
        return names;
    }

    std::string Cell(std::size_t row, std::size_t column) {
        return DownloadCell(shownDownloads.at(row), column);
    }
    // The texts of the list's fixed columns, Name to the hidden Progress.
    std::vector<std::string> Row(std::size_t row) {
        std::vector<std::string> cells;
        for (std::size_t column = 0; column < kDownloadHumanSize; ++column) {
            cells.push_back(Cell(row, column));
        }
        return cells;
    }
    std::vector<std::string> Statuses() {
        std::vector<std::string> statuses;
        for (std::size_t row = 0; row < shownDownloads.size(); ++row) {
            statuses.push_back(Cell(row, kDownloadStatus));
        }
        return statuses;
    }

    FakeClock clock;
    StatusLog log;
    LogCapture captured{log};
    TransferList list{clock, log};
    RecordingTransferCommands core;
    RecordingStopper web;
    // Where the board looks for finished downloads' files.
    std::filesystem::path downloadsFolder;
    TransferBoard board{{list, core, &web, clock, log, [this] { return downloadsFolder; }}};
    std::vector<DownloadRow> shownDownloads;
    std::vector<UploadRow> shownUploads;
    RowChanges<DownloadRow> downloadSteps;
    RowChanges<UploadRow> uploadSteps;
};

}  // namespace korvana::test
