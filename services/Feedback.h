#pragma once

#include <string>
#include <string_view>

#include "web/HttpOptions.h"

namespace korvana {

// The feedback form's messages, exactly as the user sees them.
inline constexpr const char* kFeedbackEmptyText = "Need a message to send.";
inline constexpr const char* kFeedbackEmptyCaption = "No message";
inline constexpr const char* kFeedbackSentText =
    "    Successfully sent feedback.\n       Thank you very much";
inline constexpr const char* kFeedbackSentCaption = "Thanks for your feedback";
inline constexpr const char* kFeedbackFailedText = "Unable to contact internet";
inline constexpr const char* kFeedbackFailedCaption = "Feedback send error";

// Only an empty message is refused; one of blanks is still a message.
inline bool IsSendableFeedback(std::string_view message) {
    return !message.empty();
}

// A text made safe as one value of a query string: letters, digits and
// "-._~" stay, every other byte (blanks, line breaks, "&", "=", "#", "%",
// "+", UTF-8 sequences) becomes %XX, so the form-mail script decodes exactly
// what was typed.
std::string PercentEncodeQueryValue(std::string_view text);

// The form-mail request on the vendor's server (`vendorUrl` without a
// trailing "/") carrying both texts.
std::string FeedbackUrl(std::string_view vendorUrl, std::string_view senderName,
                        std::string_view feedback);

// Sends the feedback through the system HTTP service and waits for the
// answer (worker threads only). True when the server answered with a status
// below 400 and a body that is not empty once line breaks are removed.
bool SendFeedback(std::string_view vendorUrl, std::string_view senderName,
                  std::string_view feedback, const HttpOptions& options = {});

}  // namespace korvana
