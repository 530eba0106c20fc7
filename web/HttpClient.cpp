#include "web/HttpClient.h"

#include <array>
#include <chrono>
#include <optional>

#include "web/AddressRules.h"
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

struct ExchangeLimits {
    bool mayReachLocal = true;
    std::optional<HttpConnection::TimePoint> deadline;
};

int Exchange(const HttpTarget& target, bool post, std::string& response, bool headerOnly,
             const HttpOptions& options, const ExchangeLimits& limits) {
    HttpConnection connection(options);
    if (limits.deadline) {
        connection.SetDeadline(*limits.deadline);
    }
    const int opened = connection.Open(target, post, limits.mayReachLocal);
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
    const FetchOrigin origin{
        options.originUrl.empty() ? target : SplitUrl(options.originUrl).value_or(HttpTarget{})};
    ExchangeLimits limits;
    if (options.totalTimeout.count() > 0) {
        limits.deadline = std::chrono::steady_clock::now() + options.totalTimeout;
    }
    for (;; ++depth) {
        response.clear();
        if (depth > options.maxRedirects) {
            return kHttpFailed;
        }
        limits.mayReachLocal = origin.MayReachLocal(target);
        const int code = Exchange(target, post, response, headerOnly, options, limits);
        if (code != kHttpOk) {
            return code;
        }
        switch (ApplyRedirect(target, response, join)) {
            case RedirectStep::None:
                return code;
            case RedirectStep::Refused:
                return kHttpRefused;
            case RedirectStep::Follow:
                break;
        }
        post = false;
    }
}

std::string FetchPage(std::string_view url, RedirectJoin join, const HttpOptions& options,
                      int* result) {
    auto target = SplitUrl(url);
    if (!target) {
        return {};
    }
    std::string response;
    const int code = SendRequest(*target, false, response, false, 0, join, options);
    if (result != nullptr) {
        *result = code;
    }
    return std::string(TextAfterHeader(response));
}

std::string FetchPostPage(std::string_view url, const HttpOptions& options, int* result) {
    auto target = SplitUrl(url);
    if (!target) {
        return {};
    }
    std::string response;
    const int code =
        SendRequest(*target, true, response, false, 0, RedirectJoin::SearchFamily, options);
    if (result != nullptr) {
        *result = code;
    }
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
