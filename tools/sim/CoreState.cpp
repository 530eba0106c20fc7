#include "tools/sim/CoreState.h"

#include <cstdio>

#include "tools/sim/ConsoleCommands.h"
#include "tools/sim/DownloadsIni.h"
#include "tools/sim/QueryMatch.h"
#include "tools/sim/SongFile.h"

namespace korvana::sim {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxIniBytes = 4 << 20;
constexpr std::size_t kMaxDownloadName = 255;

std::string Duration(int seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
    return text;
}

}  // namespace

CoreState::CoreState(CoreSetup setup, Audience& audience, SimClock::time_point now)
    : setup_(std::move(setup)),
      audience_(audience),
      catalogue_(setup_.catalogueSize, std::move(setup_.listed)),
      options_(setup_.form),
      shares_(setup_.folder),
      floodEnd_(catalogue_.Size()),
      lastTick_(now),
      nextUpdate_(now + kUpdateInterval),
      nextStats_(now + kStatsInterval) {
    Load();
    for (const SharedDirectory& directory : SharedFolders::Defaults()) {
        std::error_code error;
        fs::create_directories(shares_.Resolve(directory.dirname), error);
    }
    shares_.Rescan(!EnabledNetworks().empty());
}

void CoreState::Load() {
    const std::optional<std::string> text = ReadSmallFile(IniPath(), kMaxIniBytes);
    if (!text) {
        return;
    }
    CoreSettings settings = ParseDownloadsIni(*text);
    for (const auto& [name, value] : settings.options) {
        options_.Set(name, value);
    }
    if (settings.shared) {
        shares_.SetDirectories(std::move(*settings.shared));
    }
}

bool CoreState::Save() const {
    CoreSettings settings{options_.All(), shares_.Directories()};
    return WriteFileAtomically(IniPath(), FormatDownloadsIni(settings));
}

std::vector<std::int32_t> CoreState::EnabledNetworks() const {
    std::vector<std::int32_t> enabled;
    for (const NetworkDefinition& network : Networks()) {
        if (options_.NetworkEnabled(network)) {
            enabled.push_back(network.number);
        }
    }
    return enabled;
}

std::vector<GuiMessage> CoreState::WelcomeMessages() const {
    std::vector<GuiMessage> messages;
    for (const NetworkDefinition& network : Networks()) {
        const bool enabled = options_.NetworkEnabled(network);
        NetworkInfo info{network.number, network.name, enabled, std::string(network.name) + ".ini",
                         enabled ? network.servers : 0};
        messages.push_back(EncodeNetwork(info, setup_.form));
    }
    messages.push_back(EncodeConsole("Welcome to the simulated MLDonkey core\n"));
    for (GuiMessage& options : EncodeOptions(options_.All())) {
        messages.push_back(std::move(options));
    }
    for (const SharedFile& file : shares_.Files()) {
        messages.push_back(EncodeSharedFile(DescribeShared(file), setup_.form));
    }
    messages.push_back(Stats());
    return messages;
}

void CoreState::SetOptions(const std::vector<OptionPair>& pairs, bool save) {
    std::vector<OptionPair> accepted;
    for (const OptionPair& pair : pairs) {
        if (options_.Set(pair.first, pair.second)) {
            accepted.push_back(pair);
        }
    }
    for (const GuiMessage& message : EncodeOptions(accepted)) {
        audience_.Broadcast(message);
    }
    RescanShares();
    if (save) {
        Save();
    }
}

GuiMessage CoreState::RunConsole(std::string_view line) {
    const ConsoleOutcome outcome = RunConsoleCommand(line, shares_, setup_.form);
    if (outcome.sharesChanged) {
        RescanShares();
    }
    if (outcome.save) {
        Save();
    }
    return EncodeConsole(ConsoleAnswer(line, outcome.output));
}

void CoreState::RescanShares() {
    for (std::int32_t number : shares_.Rescan(!EnabledNetworks().empty())) {
        for (const SharedFile& file : shares_.Files()) {
            if (file.number == number) {
                audience_.Broadcast(EncodeSharedFile(DescribeShared(file), setup_.form));
            }
        }
    }
}

std::vector<std::size_t> CoreState::Search(const QueryNode& query, std::size_t limit) const {
    std::vector<std::size_t> found;
    if (QueryIsEmpty(query) || EnabledNetworks().empty()) {
        return found;
    }
    for (std::size_t i = 0; i < catalogue_.Size() && found.size() < limit; ++i) {
        const CatalogueEntry entry = catalogue_.At(i);
        if (QueryMatches(query, entry, SongFileSize(entry))) {
            found.push_back(i);
        }
    }
    return found;
}

std::optional<ResultInfo> CoreState::Result(std::size_t index) const {
    const std::vector<std::int32_t> enabled = EnabledNetworks();
    if (enabled.empty()) {
        return std::nullopt;
    }
    const CatalogueEntry entry = catalogue_.At(index);
    ResultInfo result;
    result.id = static_cast<std::int32_t>(index + 1);
    result.network = enabled[index % enabled.size()];
    result.name = EntryName(entry);
    result.hash = SongHash(entry);
    result.size = SongFileSize(entry);
    result.tags = {
        {"availability", 0, static_cast<std::uint32_t>(entry.availability), ""},
        {"bitrate", 0, static_cast<std::uint32_t>(entry.bitrate), ""},
        {"length", 2, 0, Duration(entry.seconds)},
        {"Artist", 2, 0, entry.artist},
        {"Title", 2, 0, entry.title},
        {"Album", 2, 0, entry.album},
    };
    return result;
}

void CoreState::StartDownload(const DownloadQuery& query) {
    if (query.resultId < 1) {
        return;
    }
    const auto index = static_cast<std::size_t>(query.resultId) - 1;
    if (index >= floodEnd_ || downloads_.FindSong(index) != nullptr) {
        return;
    }
    const std::optional<ResultInfo> result = Result(index);
    if (!result) {
        return;
    }
    const CatalogueEntry entry = catalogue_.At(index);
    std::string name =
        !query.names.empty() && !query.names[0].empty() ? query.names[0] : EntryName(entry);
    name.resize(std::min(name.size(), kMaxDownloadName));
    downloads_.Add(index, entry, std::move(name), result->network, result->size, result->hash);
}

void CoreState::SwitchDownload(std::int32_t number, bool resume) {
    downloads_.Switch(number, resume);
}

void CoreState::CancelDownload(std::int32_t number) {
    downloads_.Cancel(number);
}

std::vector<DownloadInfo> CoreState::Downloads() const {
    std::vector<DownloadInfo> list;
    for (const Download& download : downloads_.All()) {
        list.push_back(Describe(download));
    }
    return list;
}

fs::path CoreState::IncomingFolder() const {
    if (setup_.form == WireForm::kRealCore) {
        return shares_.IncomingFolder().value_or(setup_.folder / "incoming" / "files");
    }
    const std::string incoming = options_.Value("incoming_directory").value_or("");
    return incoming.empty() ? setup_.folder / "incoming" / "files" : shares_.Resolve(incoming);
}

void CoreState::Complete(std::int32_t number) {
    Download* download = downloads_.Find(number);
    if (download == nullptr) {
        return;
    }
    const fs::path folder = IncomingFolder();
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    std::string error;
    if (WriteNewFile(folder, download->name, SongFileBytes(download->entry), error)) {
        download->state = FileState::kDownloaded;
    } else {
        download->state = FileState::kAborted;
        download->reason = "cannot write to " + folder.string() + ": " + error;
    }
    download->rate = 0.0;
    RescanShares();
}

}  // namespace korvana::sim
