#include "web/HttpClient.h"

#include <array>

#include "web/HttpConnection.h"

namespace korvana {
namespace {

constexpr std::string_view kHeaderEnd = "\n\r\n";

// Keeps a gathered answer within the limits: a header that never ends, or a
// body over the limit, ends the exchange.
class ResponseGuard {
  public:
    ResponseGuard(const HttpOptions& options, bool headerOnly)
        : options_(options), headerOnly_(headerOnly) {}

    // Looks at the text after `added` new bytes: kHttpOk to read on, a
    // negative code to fail, or 1 when the header-only read is complete.
    int Check(std::string& response, std::size_t added) {
        if (headerEnd_ == std::string::npos) {
            const std::size_t from = response.size() - added;
            headerEnd_ = response.find(kHeaderEnd, from >= 2 ? from - 2 : 0);
        }
        if (headerEnd_ == std::string::npos) {
            return response.size() > options_.maxHeaderBytes ? kHttpFailed : kHttpOk;
        }
        if (headerOnly_) {
            response.resize(headerEnd_);
            return 1;
        }
        const std::size_t bodyStart = headerEnd_ + kHeaderEnd.size();
        if (response.size() - bodyStart > options_.maxBodyBytes) {
            response.resize(bodyStart + options_.maxBodyBytes);
            return kHttpFailed;
        }
        return kHttpOk;
    }

  private:
    const HttpOptions& options_;
    const bool headerOnly_;
    std::size_t headerEnd_ = std::string::npos;
};

int Exchange(const HttpTarget& target, bool post, std::string& response, bool headerOnly,
             const HttpOptions& options) {
    HttpConnection connection(options);
    const int opened = connection.Open(target, post);
    if (opened != kHttpOk) {
        return opened;
    }
    ResponseGuard guard(options, headerOnly);
    std::array<char, 16 * 1024> buffer;
    for (;;) {
        const long received = connection.Receive(buffer.data(), buffer.size());
        if (received <= 0) {
            return static_cast<int>(received);
        }
        response.append(buffer.data(), static_cast<std::size_t>(received));
        const int checked = guard.Check(response, static_cast<std::size_t>(received));
        if (checked != kHttpOk) {
            return checked > 0 ? kHttpOk : checked;
        }
    }
}

}  // namespace

int SendRequest(HttpTarget& target, bool post, std::string& response, bool headerOnly, int depth,
                RedirectJoin join, const HttpOptions& options) {
    for (;; ++depth) {
        response.clear();
        if (depth > options.maxRedirects) {
            return kHttpFailed;
        }
        const int code = Exchange(target, post, response, headerOnly, options);
        if (code != kHttpOk || !ApplyRedirect(target, response, join)) {
            return code;
        }
        post = false;
    }
}

std::string FetchPage(std::string_view url, RedirectJoin join, const HttpOptions& options) {
    auto target = SplitUrl(url);
    if (!target) {
        return {};
    }
    std::string response;
    SendRequest(*target, false, response, false, 0, join, options);
    return std::string(TextAfterHeader(response));
}

std::string FetchPostPage(std::string_view url, const HttpOptions& options) {
    auto target = SplitUrl(url);
    if (!target) {
        return {};
    }
    std::string response;
    SendRequest(*target, true, response, false, 0, RedirectJoin::SearchFamily, options);
    const std::string_view afterFirst = TextAfterHeader(response);
    if (afterFirst.find(kHeaderEnd) == std::string_view::npos) {
        return std::string(afterFirst);
    }
    return std::string(TextAfterHeader(afterFirst));
}

std::string FetchHeader(std::string_view url, const HttpOptions& options) {
    auto target = SplitUrl(url);
    if (!target) {
        return {};
    }
    std::string response;
    if (SendRequest(*target, false, response, true, 0, RedirectJoin::SearchFamily, options) !=
        kHttpOk) {
        return {};
    }
    return response;
}

}  // namespace korvana
