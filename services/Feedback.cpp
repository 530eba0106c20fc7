#include "services/Feedback.h"

#include "web/SystemHttp.h"

namespace korvana {
namespace {

bool IsUnreserved(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

}  // namespace

std::string PercentEncodeQueryValue(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size() * 3);
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsUnreserved(byte)) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

std::string FeedbackUrl(std::string_view vendorUrl, std::string_view senderName,
                        std::string_view feedback) {
    return std::string(vendorUrl) +
           "/cgi-bin/cgiemail/feedback.txt?sender_name=" + PercentEncodeQueryValue(senderName) +
           "&feedback=" + PercentEncodeQueryValue(feedback);
}

bool SendFeedback(std::string_view vendorUrl, std::string_view senderName,
                  std::string_view feedback, const HttpOptions& options) {
    return !FetchWithSystemHttp(FeedbackUrl(vendorUrl, senderName, feedback),
                                RedirectJoin::VendorFamily, options)
                .empty();
}

}  // namespace korvana
