#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/CoreLinkListener.h"
#include "core/CoreSinks.h"
#include "core/CoreTables.h"
#include "core/GuiMessage.h"
#include "core/InboundMessages.h"
#include "core/ResultPool.h"
#include "core/StatusLog.h"
#include "platform/Clock.h"

namespace korvana {

// Handles each frame that the core sends: stores options, networks and
// totals in the tables, keeps results in the pool and binds them to their
// searches, hands downloads and uploads to the transfer lists, and writes
// the status-log line of each message. Runs on the receive thread; the
// sinks and the listener may be set from any thread.
class CoreDispatcher {
  public:
    CoreDispatcher(StatusLog& log, const Clock& clock, CoreTables& tables);

    void SetResultSink(CoreResultSink* sink) { resultSink_.store(sink); }
    void SetTransferSink(TransferSink* sink) { transferSink_.store(sink); }
    void SetListener(CoreLinkListener* listener) { listener_.store(listener); }
    CoreLinkListener* Listener() const { return listener_.load(); }

    // A new connection: the next core may speak another protocol.
    void BeginConnection() {
        protocol_ = 0;
        helloSeen_ = false;
        networkNames_.clear();
    }
    // The protocol of the current core's hello; 0 before it or when empty.
    std::uint32_t AnnouncedProtocol() const { return protocol_; }

    // One frame body, opcode first. A body over the frame limit is ignored.
    void Dispatch(std::string_view frame);

    const ResultPool& Results() const { return pool_; }

  private:
    InboundForm Form() const { return FormForProtocol(protocol_); }
    void Handle(int opcode);
    void OnHello();
    void OnOptions();
    void OnResult();
    void OnSearchResult();
    void OnConsoleText();
    void OnNetwork();
    void OnSharedFileUpload();
    void OnDownloadUpdate();
    void OnSharedFile();
    void OnClientStats();
    void OnFileNames();
    void OnFileInfo();
    void OnDownloadList();
    void HandDownload(DownloadEntry entry);
    void HandUpload(UploadItem item);
    std::string_view NetworkNameOf(std::int32_t networkNumber);

    StatusLog& log_;
    const Clock& clock_;
    CoreTables& tables_;
    ResultPool pool_;
    GuiMessage message_;
    std::uint32_t protocol_ = 0;
    bool helloSeen_ = false;
    // Receive thread only.
    std::unordered_map<std::int32_t, std::string> networkNames_;
    std::atomic<CoreResultSink*> resultSink_{nullptr};
    std::atomic<TransferSink*> transferSink_{nullptr};
    std::atomic<CoreLinkListener*> listener_{nullptr};
};

}  // namespace korvana
