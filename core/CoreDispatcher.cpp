#include "core/CoreDispatcher.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <string>
#include <utility>

#include "core/CoreOpcodes.h"
#include "core/StatusLine.h"

namespace korvana {
namespace {

// Messages the front end has no use for and does not log.
constexpr std::array<int, 12> kSilentOpcodes = {3, 12, 13, 15, 21, 23, 24, 26, 31, 36, 38, 55};

bool IsSilent(int opcode) {
    for (const int silent : kSilentOpcodes) {
        if (opcode == silent) {
            return true;
        }
    }
    return false;
}

// The log lines show 64-bit counts by their low 32 bits.
std::int32_t Low32(std::int64_t value) {
    return static_cast<std::int32_t>(value);
}

// A rate as the transfer list keeps it; absurd values stay finite.
float RateAsFloat(double rate) {
    constexpr double kMax = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(rate, -kMax, kMax));
}

}  // namespace

CoreDispatcher::CoreDispatcher(StatusLog& log, const Clock& clock, CoreTables& tables)
    : log_(log), clock_(clock), tables_(tables) {}

void CoreDispatcher::Dispatch(std::string_view frame) {
    message_.Reset();
    if (!message_.Load(frame)) {
        return;
    }
    // A body too short to hold an opcode counts as a hello.
    const int opcode = frame.size() >= 3 ? message_.Get16() : 0;
    Handle(opcode);
}

void CoreDispatcher::Handle(int opcode) {
    switch (opcode) {
        case from_core::kHello:
            OnHello();
            return;
        case from_core::kOptions:
            OnOptions();
            return;
        case from_core::kResult:
            OnResult();
            return;
        case from_core::kSearchResult:
            OnSearchResult();
            return;
        case from_core::kConsoleText:
            OnConsoleText();
            return;
        case from_core::kNetwork:
            OnNetwork();
            return;
        case from_core::kSharedFileUpload:
            OnSharedFileUpload();
            return;
        case from_core::kDownloadUpdate:
            OnDownloadUpdate();
            return;
        case from_core::kSharedFile:
            OnSharedFile();
            return;
        case from_core::kClientStats:
            OnClientStats();
            return;
        case from_core::kFileNames:
            OnFileNames();
            return;
        case from_core::kDownloadList:
            OnDownloadList();
            return;
        default:
            if (!IsSilent(opcode)) {
                log_.Line(FormatStatusLine("opcode %d received.", opcode));
            }
    }
}

// Only a connection's first hello speaks for the core: a later message with
// an empty body also reads as a hello and must not switch layouts.
void CoreDispatcher::OnHello() {
    log_.Line("Received a hello opcode");
    if (!helloSeen_) {
        helloSeen_ = true;
        protocol_ = DecodeHelloProtocol(message_);
    }
}

void CoreDispatcher::OnOptions() {
    for (const OptionPair& pair : DecodeOptions(message_).pairs) {
        log_.Line(FormatStatusLine("%s = %s", pair.name.c_str(), pair.value.c_str()));
        tables_.SetOption(pair.name, pair.value);
    }
}

void CoreDispatcher::OnResult() {
    log_.Line("Result info received");
    ResultMessage decoded = DecodeResult(message_, Form());
    if (!decoded.namesRead) {
        return;
    }
    const CoreResult& result = decoded.result;
    log_.Line(FormatStatusLine("result_info : result_id = %d net_id = %d name=%s", result.resultId,
                               result.networkNumber, result.name.c_str()));
    if (decoded.complete) {
        pool_.Add(decoded.result);
    }
}

void CoreDispatcher::OnSearchResult() {
    const SearchResultMessage decoded = DecodeSearchResult(message_);
    log_.Line(
        FormatStatusLine("search_id = %d  result_id = %d", decoded.searchId, decoded.resultId));
    CoreResultSink* sink = resultSink_.load();
    if (sink == nullptr) {
        return;
    }
    std::shared_ptr<const PooledResult> result = pool_.Find(decoded.resultId);
    if (!result) {
        return;
    }
    const std::string_view network = NetworkNameOf(result->networkNumber);
    sink->AddCoreResult(std::move(result), decoded.searchId, network);
}

// A network keeps the name it was first reported with, so a known name is
// looked up once; an unknown one is looked up again, as it may come later.
std::string_view CoreDispatcher::NetworkNameOf(std::int32_t networkNumber) {
    const auto cached = networkNames_.find(networkNumber);
    if (cached != networkNames_.end()) {
        return cached->second;
    }
    log_.Line(FormatStatusLine("%zu items in network list", tables_.NetworkCount()));
    const std::optional<NetworkEntry> network = tables_.Network(networkNumber);
    if (!network) {
        return "unknown";
    }
    return networkNames_.emplace(networkNumber, network->name).first->second;
}

void CoreDispatcher::OnConsoleText() {
    const std::optional<std::string> text = DecodeConsoleText(message_);
    if (!text) {
        return;
    }
    log_.Line(FormatStatusLine("Console message received: %s", text->c_str()));
    if (std::optional<std::vector<CoreSharedFolder>> shares = DecodeSharesAnswer(*text)) {
        tables_.SetSharedFolders(std::move(*shares));
    }
}

void CoreDispatcher::OnNetwork() {
    const std::optional<NetworkMessage> network = DecodeNetwork(message_);
    if (network) {
        tables_.AddNetwork(*network);
    }
}

void CoreDispatcher::OnSharedFileUpload() {
    const SharedFileUploadMessage decoded = DecodeSharedFileUpload(message_);
    UploadItem item;
    item.fileNumber = decoded.fileNumber;
    item.uploaded = decoded.uploaded;
    item.requests = decoded.requests;
    item.lastUpdate = clock_.WallNow();
    log_.Line(FormatStatusLine("SHARED FILE UPLOAD: file %d upload now %d", item.fileNumber,
                               Low32(item.uploaded)));
    HandUpload(std::move(item));
}

void CoreDispatcher::OnDownloadUpdate() {
    log_.Line("File download update received");
    const DownloadUpdateMessage decoded = DecodeDownloadUpdate(message_);
    log_.Line(FormatStatusLine("file id=%d size=%d rate=%s seen_last = %d seconds",
                               decoded.fileNumber, Low32(decoded.downloaded),
                               FixedOneDecimal(decoded.rate / 1024.0, 5).c_str(),
                               decoded.secondsSinceSeen));
    if (TransferSink* sink = transferSink_.load()) {
        sink->UpdateDownloadProgress(decoded.fileNumber, decoded.downloaded, decoded.rate);
    }
}

void CoreDispatcher::OnSharedFile() {
    std::optional<SharedFileMessage> decoded = DecodeSharedFile(message_, Form());
    if (!decoded) {
        return;
    }
    UploadItem item;
    item.fileNumber = decoded->fileNumber;
    item.name = std::move(decoded->name);
    item.uploaded = decoded->uploaded;
    item.requests = decoded->requests;
    item.lastUpdate = clock_.WallNow();
    log_.Line(FormatStatusLine("%s (%d) : %d bytes uploaded", item.name.c_str(), item.fileNumber,
                               Low32(item.uploaded)));
    HandUpload(std::move(item));
}

void CoreDispatcher::HandUpload(UploadItem item) {
    if (TransferSink* sink = transferSink_.load()) {
        sink->AddOrUpdateUpload(std::move(item));
    }
}

// The core repeats its statistics every few seconds; only a change is news
// for the status row, so an idle core does not wake the GUI thread.
void CoreDispatcher::OnClientStats() {
    if (!tables_.SetClientStats(DecodeClientStats(message_))) {
        return;
    }
    if (CoreLinkListener* listener = listener_.load()) {
        listener->OnClientStats();
    }
}

void CoreDispatcher::OnFileNames() {
    if (Form() == InboundForm::RealCore) {
        OnFileInfo();
        return;
    }
    const FileNamesMessage decoded = DecodeFileNames(message_);
    if (!decoded.complete) {
        return;
    }
    std::string line =
        FormatStatusLine("file_id %d net_id %d : ", decoded.fileNumber, decoded.networkNumber);
    for (const std::string& name : decoded.names) {
        line += ' ';
        line += name;
    }
    log_.Line(line);
}

// A real core announces every change of a file by itself: a new download,
// its size once known, a pause, and the end of it (downloaded, shared or
// cancelled), which the download list no longer shows.
void CoreDispatcher::OnFileInfo() {
    std::optional<DownloadEntry> entry = DecodeFileInfo(message_);
    if (!entry) {
        return;
    }
    log_.Line(FormatStatusLine("file_info %d: %s state %d", entry->fileNumber, entry->name.c_str(),
                               entry->state));
    HandDownload(std::move(*entry));
}

void CoreDispatcher::OnDownloadList() {
    for (DownloadEntry& entry : DecodeDownloadList(message_).entries) {
        HandDownload(std::move(entry));
    }
}

void CoreDispatcher::HandDownload(DownloadEntry entry) {
    TransferSink* sink = transferSink_.load();
    if (sink == nullptr) {
        return;
    }
    TransferItem item;
    item.key = TransferKey::Core(entry.fileNumber);
    item.name = std::move(entry.name);
    item.size = entry.size;
    item.downloaded = entry.downloaded;
    item.coreState = entry.state;
    item.rate = RateAsFloat(entry.rate);
    item.startTime = clock_.WallNow();
    sink->AddOrUpdateDownload(std::move(item));
}

}  // namespace korvana
