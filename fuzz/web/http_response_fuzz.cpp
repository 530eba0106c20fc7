#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "web/HttpText.h"

// Treats the input as the raw text of an exchange and applies the redirect
// rules of both families (the header itself is response_header_fuzz's). A
// rewritten target must stay within its limits and carry no blank or control
// byte on the request line.
namespace {

void CheckTarget(const korvana::HttpTarget& target) {
    if (target.host.size() > korvana::HttpTarget::kMaxField ||
        target.path.size() > korvana::HttpTarget::kMaxField || target.path.empty() ||
        target.path.front() != '/' || target.port == 0) {
        std::abort();
    }
    for (char c : target.path) {
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view response(reinterpret_cast<const char*>(data), size);
    for (const auto join :
         {korvana::RedirectJoin::SearchFamily, korvana::RedirectJoin::VendorFamily}) {
        korvana::HttpTarget target{8080, "/start", "127.0.0.1"};
        if (korvana::ApplyRedirect(target, response, join) == korvana::RedirectStep::Follow) {
            CheckTarget(target);
            korvana::BuildRequest(target, korvana::HttpMethod::Get);
        }
    }
    return 0;
}
