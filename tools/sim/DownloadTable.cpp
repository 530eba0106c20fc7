#include "tools/sim/DownloadTable.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace korvana::sim {

namespace fs = std::filesystem;

Download* DownloadTable::Find(std::int32_t number) {
    const auto found = std::find_if(downloads_.begin(), downloads_.end(),
                                    [&](const Download& d) { return d.number == number; });
    return found == downloads_.end() ? nullptr : &*found;
}

Download* DownloadTable::FindSong(std::size_t catalogueIndex) {
    const auto found = std::find_if(downloads_.begin(), downloads_.end(), [&](const Download& d) {
        return d.catalogueIndex == catalogueIndex && d.state != FileState::kCancelled &&
               d.state != FileState::kAborted;
    });
    return found == downloads_.end() ? nullptr : &*found;
}

Download* DownloadTable::Add(std::size_t catalogueIndex, const CatalogueEntry& entry,
                             std::string name, std::int32_t network, std::uint64_t size,
                             const Hash& hash) {
    if (downloads_.size() >= kMaxDownloads) {
        return nullptr;
    }
    Download& download = downloads_.emplace_back();
    download.number = nextNumber_++;
    download.network = network;
    download.catalogueIndex = catalogueIndex;
    download.entry = entry;
    download.name = std::move(name);
    download.hash = hash;
    download.size = size;
    return &download;
}

bool DownloadTable::Switch(std::int32_t number, bool resume) {
    Download* download = Find(number);
    if (download == nullptr) {
        return false;
    }
    const FileState from = download->state;
    if (resume && from == FileState::kPaused) {
        download->state = FileState::kDownloading;
    } else if (!resume && (from == FileState::kDownloading || from == FileState::kNew)) {
        download->state = FileState::kPaused;
        download->rate = 0.0;
    } else {
        return false;
    }
    return true;
}

bool DownloadTable::Cancel(std::int32_t number) {
    Download* download = Find(number);
    if (download == nullptr || download->state == FileState::kDownloaded ||
        download->state == FileState::kCancelled) {
        return false;
    }
    download->state = FileState::kCancelled;
    download->rate = 0.0;
    return true;
}

std::vector<std::int32_t> DownloadTable::Advance(double seconds, std::int64_t rate) {
    std::vector<std::int32_t> finished;
    for (Download& download : downloads_) {
        if (download.state == FileState::kNew) {
            download.state = FileState::kDownloading;
        } else if (download.state != FileState::kDownloading) {
            continue;
        }
        download.rate = static_cast<double>(rate);
        download.pendingBytes += static_cast<double>(rate) * seconds;
        const auto whole = static_cast<std::uint64_t>(download.pendingBytes);
        download.pendingBytes -= static_cast<double>(whole);
        const std::uint64_t before = download.downloaded;
        download.downloaded = std::min(download.size, download.downloaded + whole);
        if (download.downloaded == download.size &&
            (before < download.size || download.size == 0)) {
            finished.push_back(download.number);
        }
    }
    return finished;
}

DownloadInfo Describe(const Download& download) {
    DownloadInfo info;
    info.number = download.number;
    info.network = download.network;
    info.name = download.name;
    info.hash = download.hash;
    info.size = download.size;
    info.downloaded = download.downloaded;
    info.state = static_cast<std::uint8_t>(download.state);
    info.reason = download.reason;
    info.rate = download.state == FileState::kDownloading ? download.rate : 0.0;
    info.artist = download.entry.artist;
    info.title = download.entry.title;
    info.album = download.entry.album;
    info.year = download.entry.year;
    return info;
}

std::string SafeFileName(std::string_view name) {
    std::string safe;
    for (char c : name.substr(0, 200)) {
        const auto byte = static_cast<unsigned char>(c);
        safe += (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F) ? '_' : c;
    }
    const std::size_t start = safe.find_first_not_of(" .");
    safe.erase(0, start == std::string::npos ? safe.size() : start);
    while (!safe.empty() && (safe.back() == ' ' || safe.back() == '.')) {
        safe.pop_back();
    }
    return safe.empty() ? "download" : safe;
}

std::optional<fs::path> WriteNewFile(const fs::path& folder, std::string_view name,
                                     std::string_view bytes, std::string& error) {
    const std::string safe = SafeFileName(name);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string candidate = attempt == 0 ? safe : safe + "_" + std::to_string(attempt);
        const fs::path path = folder / candidate;
        const int fd =
            ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST) {
            continue;
        }
        if (fd < 0) {
            error = std::strerror(errno);
            return std::nullopt;
        }
        std::size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
            if (n <= 0) {
                break;
            }
            written += static_cast<std::size_t>(n);
        }
        ::close(fd);
        if (written != bytes.size()) {
            error = "write failed";
            std::error_code ignored;
            fs::remove(path, ignored);
            return std::nullopt;
        }
        return path;
    }
    error = "no free file name";
    return std::nullopt;
}

}  // namespace korvana::sim
