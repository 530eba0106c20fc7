#include "web/HttpClient.h"

#include <array>
#include <chrono>
#include <optional>

#include "web/AddressRules.h"
#include "web/HttpConnection.h"

namespace korvana {
namespace {

// What a gathered answer allows after more bytes came.
enum class AnswerStep {
    ReadOn,
    HeaderComplete,  // a header-only read has its header
    TooLarge,        // a header that never ends, or a body over the limit
};

// Keeps a gathered answer within the limits.
class ResponseGuard {
  public:
    ResponseGuard(const HttpOptions& options, AnswerRead read) : options_(options), read_(read) {}

    // Looks at the text after `added` new bytes; cuts it where the read ends.
    AnswerStep Check(std::string& response, std::size_t added) {
        if (bodyStart_ == std::string::npos) {
            const std::size_t from = response.size() - added;
            bodyStart_ = FindHeaderEnd(response, from >= 2 ? from - 2 : 0);
        }
        if (bodyStart_ == std::string::npos) {
            return response.size() > options_.maxHeaderBytes ? AnswerStep::TooLarge
                                                             : AnswerStep::ReadOn;
        }
        if (read_ == AnswerRead::HeaderOnly) {
            response.resize(bodyStart_ - kHeaderEnd.size());
            return AnswerStep::HeaderComplete;
        }
        if (response.size() - bodyStart_ > options_.maxBodyBytes) {
            response.resize(bodyStart_ + options_.maxBodyBytes);
            return AnswerStep::TooLarge;
        }
        return AnswerStep::ReadOn;
    }

  private:
    const HttpOptions& options_;
    const AnswerRead read_;
    std::size_t bodyStart_ = std::string::npos;
};

struct ExchangeLimits {
    bool mayReachLocal = true;
    std::optional<HttpConnection::TimePoint> deadline;
};

HttpResult Exchange(const HttpTarget& target, HttpMethod method, AnswerRead read,
                    std::string& response, const HttpOptions& options,
                    const ExchangeLimits& limits) {
    HttpConnection connection(options);
    if (limits.deadline) {
        connection.SetDeadline(*limits.deadline);
    }
    const HttpResult opened = connection.Open(target, method, limits.mayReachLocal);
    if (opened != HttpResult::Ok) {
        return opened;
    }
    ResponseGuard guard(options, read);
    std::array<char, 16 * 1024> buffer;
    for (;;) {
        std::size_t received = 0;
        const HttpResult result = connection.Receive(buffer.data(), buffer.size(), received);
        if (result != HttpResult::Ok || received == 0) {
            return result;
        }
        response.append(buffer.data(), received);
        switch (guard.Check(response, received)) {
            case AnswerStep::ReadOn:
                break;
            case AnswerStep::HeaderComplete:
                return HttpResult::Ok;
            case AnswerStep::TooLarge:
                return HttpResult::Failed;
        }
    }
}

// The raw answer of one fetch of `url`; empty when the URL cannot be split.
std::string FetchRaw(std::string_view url, const RequestOptions& request,
                     const HttpOptions& options, HttpResult* result) {
    auto target = SplitUrl(url);
    if (!target) {
        return {};
    }
    std::string response;
    const HttpResult code = SendRequest(*target, response, request, options);
    if (result != nullptr) {
        *result = code;
    }
    return response;
}

}  // namespace

HttpResult SendRequest(HttpTarget& target, std::string& response, const RequestOptions& request,
                       const HttpOptions& options) {
    const FetchOrigin origin = FetchOrigin::Of(options, target);
    ExchangeLimits limits;
    if (options.totalTimeout.count() > 0) {
        limits.deadline = std::chrono::steady_clock::now() + options.totalTimeout;
    }
    HttpMethod method = request.method;
    for (int redirects = 0;; ++redirects) {
        response.clear();
        if (redirects > options.maxRedirects) {
            return HttpResult::Failed;
        }
        limits.mayReachLocal = origin.MayReachLocal(target);
        const HttpResult result = Exchange(target, method, request.read, response, options, limits);
        if (result != HttpResult::Ok) {
            return result;
        }
        switch (ApplyRedirect(target, response, request.join)) {
            case RedirectStep::None:
                return result;
            case RedirectStep::Refused:
                return HttpResult::Refused;
            case RedirectStep::Follow:
                break;
        }
        method = HttpMethod::Get;
    }
}

std::string FetchPage(std::string_view url, RedirectJoin join, const HttpOptions& options,
                      HttpResult* result) {
    const std::string response = FetchRaw(url, {.join = join}, options, result);
    return std::string(TextAfterHeader(response));
}

std::string FetchPostPage(std::string_view url, const HttpOptions& options, HttpResult* result) {
    const std::string response = FetchRaw(url, {.method = HttpMethod::FormPost}, options, result);
    return std::string(FinalBody(response));
}

std::string FetchHeader(std::string_view url, const HttpOptions& options) {
    HttpResult result = HttpResult::Failed;
    std::string header = FetchRaw(url, {.read = AnswerRead::HeaderOnly}, options, &result);
    return result == HttpResult::Ok ? header : std::string();
}

}  // namespace korvana
