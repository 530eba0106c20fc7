#include "tests/realcore/RealCoreWorld.h"

#include <fstream>
#include <iterator>
#include <thread>

#include "app/Folders.h"

namespace korvana::realcore {

bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

std::string SongBytes(std::size_t size, char seed) {
    std::string bytes(size, '\0');
    std::uint32_t state = 2166136261u ^ static_cast<unsigned char>(seed);
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void RealCoreWorld::SetUp() {
    if (const std::string why = WhyNoRealCore(); !why.empty()) {
        GTEST_SKIP() << why;
    }
    std::filesystem::create_directories(dir.Path() / "Our Downloads");
    settings.Write("Path", (dir.Path() / "Our Downloads").string());
    core = std::make_unique<RealCore>(dir.Path() / "core");
    ASSERT_TRUE(core->Start()) << core->Log();
}

void RealCoreWorld::TearDown() {
    link.reset();
    if (HasFailure() && core) {
        std::cerr << "core's output:\n" << core->Log() << "\n";
    }
}

std::filesystem::path RealCoreWorld::DownloadsFolder() {
    return GetDownloadsFolder(dir.Path(), settings);
}

void RealCoreWorld::SetDownloadsFolder(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    settings.Write("Path", folder.string());
}

void RealCoreWorld::ConnectLink() {
    link.reset();
    CoreLinkConfig config =
        ReadCoreLinkConfig(settings, [this] { return DownloadsFolder().string(); });
    config.host = "127.0.0.1";
    link = std::make_unique<CoreLink>(config, log, prompter, clock);
    link->SetSearchSink(&results);
    link->SetTransferSink(&transfers);
    link->StartReceiveThread();
    options = std::make_unique<CoreLinkOptions>(*link);
    ASSERT_TRUE(Eventually([&] { return link->IsLoggedIn() && link->SharedFolders(); }))
        << "no log-in to the real core";
}

std::optional<TransferItem> RealCoreWorld::Download(std::int32_t number) {
    const auto lock = transfers.Lock();
    const TransferItem* item = transfers.FindDownload(TransferKey::Core(number));
    return item != nullptr ? std::optional<TransferItem>(*item) : std::nullopt;
}

std::optional<std::int32_t> RealCoreWorld::FileNumberOf(const std::string& name) {
    std::optional<std::int32_t> number;
    Eventually(
        [&] {
            link->AskDownloadingFiles();
            const auto lock = transfers.Lock();
            transfers.ForEachDownload([&](const TransferItem& item) {
                if (item.name == name) {
                    number = item.key.FileNumber();
                }
            });
            return number.has_value();
        },
        30s);
    return number;
}

bool RealCoreWorld::ReachesState(std::int32_t number, int state) {
    return Eventually([&] {
        const std::optional<TransferItem> item = Download(number);
        return item && item->coreState == state;
    });
}

std::string RealCoreWorld::Console(const std::string& command) {
    return core->Console(command).value_or("(no console)");
}

}  // namespace korvana::realcore
