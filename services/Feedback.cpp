#include "services/Feedback.h"

#include "web/SystemHttp.h"
#include "web/UrlEscape.h"

namespace korvana {

std::string PercentEncodeQueryValue(std::string_view text) {
    return EscapeUrl(text, UrlEscape::QueryValue);
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
                                kVendorFamilySystemHttp, options)
                .empty();
}

}  // namespace korvana
