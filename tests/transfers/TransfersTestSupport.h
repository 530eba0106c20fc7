#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/StatusLog.h"
#include "tests/support/CountingChangeListener.h"
#include "transfers/TransferCommandSink.h"
#include "util/RowChanges.h"
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

// The steps of a change as "changed 1-2", "removed 0-0", "inserted 3-5".
template <typename Row>
std::vector<std::string> StepTexts(const RowChanges<Row>& changes) {
    std::vector<std::string> texts;
    for (const RowChange<Row>& change : changes) {
        const char* kind = "other";
        switch (change.kind) {
            case RowChange<Row>::Kind::Inserted:
                kind = "inserted";
                break;
            case RowChange<Row>::Kind::Removed:
                kind = "removed";
                break;
            case RowChange<Row>::Kind::Changed:
                kind = "changed";
                break;
            default:
                break;
        }
        texts.push_back(std::string(kind) + " " + std::to_string(change.first) + "-" +
                        std::to_string(change.first + change.count - 1));
    }
    return texts;
}

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
