#include "desktop/RaiseSocket.h"

#include <cstdint>
#include <cstdio>

#include <unistd.h>

namespace korvana {

namespace {

// FNV-1a: a stable name for a path, not a secret.
std::uint64_t PathHash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

}  // namespace

std::filesystem::path RaiseSocketPath(const std::filesystem::path& installFolder,
                                      const std::optional<std::string>& runtimeFolder) {
    const std::filesystem::path beside = installFolder / "Korvana MP3 Finder.socket";
    if (beside.native().size() <= kMaxSocketPathBytes) {
        return beside;
    }
    const std::filesystem::path folder = runtimeFolder && !runtimeFolder->empty()
                                             ? std::filesystem::path(*runtimeFolder)
                                             : std::filesystem::path("/tmp");
    // The user's id in the name keeps users apart in a shared /tmp.
    char name[64];
    std::snprintf(name, sizeof name, "korvana-%u-%016llx.socket", static_cast<unsigned>(getuid()),
                  static_cast<unsigned long long>(PathHash(installFolder.native())));
    return folder / name;
}

RaiseRequestState ReadRaiseRequest(std::string_view received) {
    if (received.size() > kMaxRaiseRequestBytes) {
        return RaiseRequestState::Refused;
    }
    if (received == kRaiseRequest) {
        return RaiseRequestState::Request;
    }
    return kRaiseRequest.starts_with(received) ? RaiseRequestState::Incomplete
                                               : RaiseRequestState::Refused;
}

}  // namespace korvana
