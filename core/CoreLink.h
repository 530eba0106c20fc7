#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

#include "core/CoreDispatcher.h"
#include "core/CoreLinkListener.h"
#include "core/CoreLogin.h"
#include "core/CoreSinks.h"
#include "core/CoreSocket.h"
#include "core/CoreTables.h"
#include "core/FrameReader.h"
#include "core/GuiMessage.h"
#include "core/OutboundMessages.h"
#include "core/OutboundQueue.h"
#include "core/StatusLog.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "util/WakeSignal.h"

namespace korvana {

struct CoreLinkConfig {
    std::string host = "localhost";
    std::uint16_t port = 4001;
    // Where the core puts finished downloads, read at every log-in.
    std::function<std::string()> downloadsFolder;
    // The user name and password, read at every log-in so that a corrected
    // password is used at the next attempt; without it, `admin` and none.
    std::function<CoreCredentials()> credentials;
    // A core on another computer keeps its own folder for finished
    // downloads: the path of ours means nothing there, so it is not sent.
    bool remoteCore = false;
    // How long a new connection may wait for the core's first message.
    std::chrono::milliseconds helloTimeout{3000};
    // Pause before the first attempt after a failed one; it doubles with
    // every further failure up to `retryLongest` and starts again after a
    // log-in, so an absent core costs next to nothing.
    std::chrono::milliseconds retryFirst{250};
    std::chrono::milliseconds retryLongest{5000};
    // A frame that has begun arriving and then gets no byte for this long
    // means a broken connection.
    std::chrono::milliseconds frameStallTimeout{1000};
    // The core taking no byte of a waiting frame for this long means a
    // broken connection.
    std::chrono::milliseconds sendStallTimeout{2500};
    std::chrono::milliseconds connectTimeout{2000};
};

// The connection to the core. One thread of its own connects, logs in,
// reads and dispatches the core's messages, writes the queued frames and
// reconnects after any failure, forever, until the shutdown message is out
// or the object is destroyed. The thread sleeps until the socket, a queued
// frame or the stop signal has something for it; failed attempts are spaced
// further and further apart. Every command only queues its frame and
// returns: commands issued while the core is away go out in order after the
// next log-in. Queries may be called from any thread.
class CoreLink {
  public:
    CoreLink(CoreLinkConfig config, StatusLog& log, Prompter& prompter, const Clock& clock);
    ~CoreLink();
    CoreLink(const CoreLink&) = delete;
    CoreLink& operator=(const CoreLink&) = delete;

    // Set these before StartReceiveThread; each must outlive the link.
    void SetListener(CoreLinkListener* listener);
    void SetSearchSink(CoreResultSink* sink);
    void SetTransferSink(TransferSink* sink);

    // Starts the connection thread; later calls do nothing.
    void StartReceiveThread();
    // The 5000 ms poll: asks for the download list and the upload totals.
    // Skipped while not logged in, since every log-in asks anyway.
    void PollTick();
    // Queues the shutdown message once and stops accepting frames: later
    // commands still write their log line but send nothing. The thread
    // ends once the shutdown message is out.
    void SendShutdown();
    bool IsLoggedIn() const { return loggedIn_.load(); }
    // The core refused the user name or password at the latest log-in; it
    // is asked again only every `retryLongest`, until it accepts.
    bool LoginRefused() const { return loginRefused_.load(); }
    // Connection attempts that failed since the link started.
    std::uint64_t FailedAttempts() const { return failedAttempts_.load(); }
    bool ShutdownSent() const { return queue_.FinalWritten(); }

    void SendSearchQuery(std::int32_t searchId, const SearchTerms& terms);
    void SendCloseQuery(std::int32_t searchId);
    // Also asks for the download list, so the new download shows up soon.
    void SendDownloadRequest(std::string_view fileName, std::int32_t resultId);
    void AskDownloadingFiles();
    void AskUploadStats();
    void SendCancelDownload(std::int32_t fileNumber);
    void SendSwitchDownload(std::int32_t fileNumber, bool resume);
    void SendSetOption(std::string_view name, std::string_view value);
    void SendOptionList(std::string_view name, std::string_view value);
    void SendConsoleCommand(std::string_view commandLine);

    // The core option of that name in any letter case, or an empty text.
    std::string OptionValue(std::string_view name) const;
    std::int32_t ConnectedServers() const;
    ClientStatistics ClientStats() const;
    // The core's shared folders as it last listed them (console `shares`).
    std::optional<std::vector<CoreSharedFolder>> SharedFolders() const {
        return tables_.SharedFolders();
    }

  private:
    void Enqueue(const GuiMessage& message);
    void Run();
    bool ConnectOnce();
    void FailAttempt(std::string_view line);
    void Say(std::string_view line);
    void ReportSocketFailure();
    bool AwaitHello();
    void LogIn();
    bool TakeVerdict(std::string_view body);
    void RefuseLogIn();
    void Pass();
    int PassTimeoutMs() const;
    bool ReadAvailable();
    bool WriteAvailable();
    void CheckStalls();
    void FailSend();
    void Reconnect();
    void Disconnect();
    bool Stopping() const { return stopping_.load(); }
    bool WaitForStop(std::chrono::milliseconds timeout);

    const CoreLinkConfig config_;
    StatusLog& log_;
    Prompter& prompter_;
    const Clock& clock_;
    CoreTables tables_;
    CoreDispatcher dispatcher_;
    OutboundQueue queue_;
    WakeSignal wake_;
    WakeSignal stop_;
    std::atomic<bool> loggedIn_{false};
    std::atomic<bool> loginRefused_{false};
    std::atomic<bool> stopping_{false};
    std::atomic<std::uint64_t> failedAttempts_{0};
    std::thread thread_;

    // Used by the connection thread alone.
    CoreSocket socket_;
    FrameReader reader_;
    bool outageReported_ = false;
    // Set by the first failed attempt of an outage: the attempts after it
    // write no more lines until a log-in.
    bool quiet_ = false;
    std::chrono::milliseconds retryWait_{0};
    // The password is out and the core's first answer to it is awaited.
    bool awaitingVerdict_ = false;
    // The last log-in was refused: the next attempt waits `retryLongest`.
    bool holdOff_ = false;
    // A frame was waiting at the start of the last pass; the send stall
    // is timed from the pass that first saw it.
    bool writing_ = false;
    std::chrono::steady_clock::time_point lastRead_;
    std::chrono::steady_clock::time_point lastWrite_;
};

}  // namespace korvana
