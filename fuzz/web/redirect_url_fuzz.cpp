#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "web/HttpText.h"

// Splits the input as a URL both ways; whatever comes out must make a request
// whose first line is one line.
namespace {

void CheckRequest(const korvana::HttpTarget& target) {
    if (target.host.empty() || target.port == 0 ||
        target.host.size() > korvana::HttpTarget::kMaxField ||
        target.path.size() > korvana::HttpTarget::kMaxField) {
        std::abort();
    }
    for (const auto method : {korvana::HttpMethod::Get, korvana::HttpMethod::FormPost}) {
        const std::string request = korvana::BuildRequest(target, method);
        const std::size_t lineEnd = request.find("\r\n");
        if (lineEnd == std::string::npos ||
            request.substr(0, lineEnd).find_first_of("\r\n") != std::string::npos) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view url(reinterpret_cast<const char*>(data), size);
    if (const auto split = korvana::SplitUrl(url)) {
        CheckRequest(*split);
    }
    if (const auto redirect = korvana::ParseRedirectUrl(url)) {
        CheckRequest(*redirect);
    }
    return 0;
}
