#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/StatusLog.h"
#include "transfers/TextTable.h"
#include "transfers/TransferCommandSink.h"
#include "web/download/WebDownloadSink.h"

namespace korvana::test {

// The core commands the transfer list sent, as "cancel N", "pause N" and
// "resume N".
class RecordingTransferCommands final : public TransferCommandSink {
  public:
    void SendCancelDownload(std::int32_t fileNumber) override {
        sent.push_back("cancel " + std::to_string(fileNumber));
    }
    void SendSwitchDownload(std::int32_t fileNumber, bool resume) override {
        sent.push_back((resume ? "resume " : "pause ") + std::to_string(fileNumber));
    }
    std::vector<std::string> sent;
};

// The web downloads the list asked to stop.
class RecordingStopper final : public WebDownloadStopper {
  public:
    void StopWebDownload(const std::string& link) override { stopped.push_back(link); }
    std::vector<std::string> stopped;
};

// What a table told its view, one line per notification.
class RecordingObserver final : public TableObserver {
  public:
    void RowsAboutToBeAppended(std::size_t first, std::size_t last) override {
        events.push_back("append " + std::to_string(first) + "-" + std::to_string(last));
    }
    void RowsAppended() override {}
    void RowsAboutToBeRemoved(std::size_t first, std::size_t last) override {
        events.push_back("remove " + std::to_string(first) + "-" + std::to_string(last));
    }
    void RowsRemoved() override {}
    void CellsChanged(std::size_t firstRow, std::size_t lastRow, std::size_t firstColumn,
                      std::size_t lastColumn) override {
        events.push_back("change " + std::to_string(firstRow) + "-" + std::to_string(lastRow) +
                         " " + std::to_string(firstColumn) + "-" + std::to_string(lastColumn));
    }
    std::vector<std::string> events;
};

// Every line written to a status log from the moment it is made.
class LogCapture {
  public:
    explicit LogCapture(StatusLog& log) {
        log.AttachViewer([lines = lines_](const std::string& line) { lines->push_back(line); });
    }
    const std::vector<std::string>& Lines() const { return *lines_; }
    void Clear() { lines_->clear(); }

  private:
    std::shared_ptr<std::vector<std::string>> lines_ = std::make_shared<std::vector<std::string>>();
};

}  // namespace korvana::test
