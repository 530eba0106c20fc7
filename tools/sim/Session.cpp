#include "tools/sim/Session.h"

#include <algorithm>

#include "tools/sim/CoreMessages.h"

namespace korvana::sim {

namespace {

constexpr std::size_t kOversizedBody = 30000;
constexpr std::size_t kGarbageBytes = 64;
constexpr int kUnknownOpcodes[] = {2, 7, 60, 99, 4660};

std::vector<std::uint8_t> Garbage() {
    std::vector<std::uint8_t> bytes;
    std::uint32_t state = 0x9E3779B9;
    for (std::size_t i = 0; i < kGarbageBytes; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        bytes.push_back(static_cast<std::uint8_t>(state));
    }
    return bytes;
}

std::vector<std::uint8_t> OversizedFrame() {
    std::vector<std::uint8_t> frame = {
        kOversizedBody & 0xFF, (kOversizedBody >> 8) & 0xFF, 0, 0, 0xE7, 0x03};  // opcode 999
    for (std::size_t i = 2; i < kOversizedBody; ++i) {
        frame.push_back(static_cast<std::uint8_t>(i));
    }
    return frame;
}

}  // namespace

Session::Session(CoreState& core, const FaultSwitches& faults, bool firstConnection,
                 SimClock::time_point now)
    : core_(core),
      faults_(faults),
      helloDue_(now + std::chrono::milliseconds(faults.helloDelayMs)),
      helloPending_(!faults.noHello),
      nextBatch_(now) {
    if (!firstConnection) {
        faults_.closeAfterFrames = 0;
        faults_.garbage = false;
        faults_.dropMidFrame = false;
    }
    Tick(now);
}

std::span<const std::uint8_t> Session::PendingOutput() const {
    return std::span<const std::uint8_t>(output_).subspan(sent_);
}

void Session::Consume(std::size_t n) {
    sent_ = std::min(output_.size(), sent_ + n);
    if (sent_ == output_.size()) {
        output_.clear();
        sent_ = 0;
    }
}

void Session::SendBytes(const std::vector<std::uint8_t>& bytes) {
    if (output_.size() - sent_ + bytes.size() > kMaxPendingOutput) {
        closing_ = true;
        return;
    }
    if (sent_ > 0 && sent_ * 2 >= output_.size()) {
        output_.erase(output_.begin(), output_.begin() + static_cast<std::ptrdiff_t>(sent_));
        sent_ = 0;
    }
    output_.insert(output_.end(), bytes.begin(), bytes.end());
}

void Session::Send(const GuiMessage& message) {
    SendBytes(message.ToFrame());
}

void Session::Deliver(const GuiMessage& message) {
    if (!loggedIn_ || closing_) {
        return;
    }
    if (faults_.unknownOpcodes && message.GetOpcode() == to_gui::kClientStats) {
        GuiMessage unknown(kUnknownOpcodes[0]);
        unknown.Put32(0xDEADBEEF);
        Send(unknown);
    }
    Send(message);
}

void Session::OnFrame(std::span<const std::uint8_t> body) {
    if (closing_) {
        return;
    }
    Handle(DecodeRequest(body));
    ++framesReceived_;
    if (faults_.closeAfterFrames > 0 && framesReceived_ >= faults_.closeAfterFrames) {
        closing_ = true;
    }
}

void Session::Handle(const GuiRequest& request) {
    if (loggedIn_) {
        HandleLoggedIn(request);
        return;
    }
    // Before a valid password a core ignores everything but the log-in.
    const auto* password = std::get_if<Password>(&request);
    if (password == nullptr) {
        return;
    }
    if (password->login == "admin" && password->password.empty()) {
        LogIn();
    } else {
        Send(EncodeBadPassword());
        closing_ = true;
    }
}

void Session::HandleLoggedIn(const GuiRequest& request) {
    if (const auto* set = std::get_if<SetOption>(&request)) {
        core_.SetOptions({{set->name, set->value}}, false);
    } else if (const auto* list = std::get_if<OptionList>(&request)) {
        core_.SetOptions(list->pairs, true);
    } else if (const auto* search = std::get_if<SearchQuery>(&request)) {
        StartSearch(*search);
    } else if (const auto* close = std::get_if<CloseQuery>(&request)) {
        searches_.erase(close->id);
    } else if (const auto* download = std::get_if<DownloadQuery>(&request)) {
        core_.StartDownload(*download);
    } else if (const auto* cancel = std::get_if<CancelDownload>(&request)) {
        core_.CancelDownload(cancel->number);
    } else if (const auto* change = std::get_if<SwitchDownload>(&request)) {
        core_.SwitchDownload(change->number, change->resume);
    } else if (const auto* console = std::get_if<ConsoleCommand>(&request)) {
        Send(core_.RunConsole(console->line));
    } else if (std::holds_alternative<AskDownloads>(request)) {
        SendDownloadList();
    } else if (std::holds_alternative<AskUploadStats>(request)) {
        for (const GuiMessage& message : core_.UploadStats()) {
            Send(message);
        }
    } else if (std::holds_alternative<Shutdown>(request) && !faults_.ignoreShutdown) {
        core_.RequestShutdown();
    }
}

void Session::LogIn() {
    loggedIn_ = true;
    if (faults_.garbage) {
        SendBytes(Garbage());
        closing_ = true;
        return;
    }
    if (faults_.dropMidFrame) {
        std::vector<std::uint8_t> frame = core_.WelcomeMessages().front().ToFrame();
        frame.resize(frame.size() / 2);
        SendBytes(frame);
        closing_ = true;
        return;
    }
    if (faults_.oversizedFrame) {
        SendBytes(OversizedFrame());
        Send(EncodeConsole("This message follows an oversized frame\n"));
    }
    SendWelcome();
}

void Session::SendWelcome() {
    for (const GuiMessage& message : core_.WelcomeMessages()) {
        Send(message);
    }
    if (faults_.truncatedStrings) {
        Send(EncodeTruncatedOptions(core_.Options().All().front()));
    }
    if (faults_.unknownOpcodes) {
        SendUnknownOpcodes();
    }
}

void Session::SendUnknownOpcodes() {
    for (int opcode : kUnknownOpcodes) {
        GuiMessage message(opcode);
        for (int i = 0; i < 6; ++i) {
            message.Put8(static_cast<std::uint8_t>(opcode + i));
        }
        Send(message);
    }
}

// A download that has ended (downloaded, cancelled, aborted) is listed once
// more with its final state and then leaves this connection's list, as it
// leaves a real core's list, so a front end that clears it does not get it
// back.
void Session::SendDownloadList() {
    std::vector<DownloadInfo> downloads;
    for (DownloadInfo& download : core_.Downloads()) {
        const bool ended = download.state == 2 || download.state == 4 || download.state == 6;
        if (!ended || reportedEnds_.insert(download.number).second) {
            downloads.push_back(std::move(download));
        }
    }
    for (const GuiMessage& message : EncodeDownloadList(downloads)) {
        Send(message);
    }
    if (faults_.truncatedStrings) {
        const std::size_t keep = std::min<std::size_t>(1, downloads.size());
        Send(EncodeDownloadListWithTruncatedTail(std::vector<DownloadInfo>(
            downloads.begin(), downloads.begin() + static_cast<std::ptrdiff_t>(keep))));
    }
}

}  // namespace korvana::sim
