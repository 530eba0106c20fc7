#include "web/SystemHttp.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>

#include "util/StopSignal.h"
#include "web/AddressRules.h"
#include "web/CurlSupport.h"
#include "web/UrlEscape.h"

namespace korvana {
namespace {

using Clock = std::chrono::steady_clock;

struct Transfer {
    explicit Transfer(const HttpOptions& limits) : options(limits) {}

    const HttpOptions& options;
    std::string body;
    bool overflow = false;
    curl_off_t lastReceived = 0;
    Clock::time_point lastProgress = Clock::now();
};

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    if (transfer->body.size() + bytes > transfer->options.maxBodyBytes) {
        transfer->overflow = true;
        return 0;
    }
    transfer->body.append(data, bytes);
    return bytes;
}

// Ends the transfer on a stop and after the idle time-out without data.
int Progress(void* user, curl_off_t, curl_off_t received, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<Transfer*>(user);
    const StopSignal* stop = transfer->options.stop;
    if (stop != nullptr && stop->Triggered()) {
        return 1;
    }
    const auto now = Clock::now();
    if (received != transfer->lastReceived) {
        transfer->lastReceived = received;
        transfer->lastProgress = now;
    }
    return now - transfer->lastProgress > transfer->options.idleTimeout ? 1 : 0;
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// Redirects are not left to libcurl: each hop is checked like the socket
// client's (http or https only, local addresses only on the origin).
void Configure(CURL* curl, curl_slist* headers) {
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "localhost,127.0.0.0/8,::1");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Progress);
}

// One hop: fetches `url` into `transfer`; the exchange's code.
HttpResult PerformHop(CURL* curl, const std::string& url, Transfer& transfer, CurlAddressRule& rule,
                      std::optional<Clock::time_point> deadline) {
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    long timeoutMs = 0;
    if (deadline) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now());
        if (left.count() <= 0) {
            return HttpResult::OverTime;
        }
        timeoutMs = static_cast<long>(left.count());
    }
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, timeoutMs);
    const CURLcode code = curl_easy_perform(curl);
    if (rule.refused) {
        return HttpResult::Refused;
    }
    if (code == CURLE_OPERATION_TIMEDOUT && deadline) {
        return HttpResult::OverTime;
    }
    return code == CURLE_OK && !transfer.overflow ? HttpResult::Ok : HttpResult::Failed;
}

void RemoveLineBreaksAndNuls(std::string& text) {
    std::erase_if(text, [](char c) { return c == '\n' || c == '\r' || c == '\0'; });
}

std::string Fetch(std::string_view url, const SystemHttpPolicy& policy, const HttpOptions& options,
                  HttpResult& code) {
    const auto first = SplitUrl(url);
    if (!first) {
        return {};
    }
    const FetchOrigin origin = FetchOrigin::Of(options, *first);
    std::optional<Clock::time_point> deadline;
    if (options.totalTimeout.count() > 0) {
        deadline = Clock::now() + options.totalTimeout;
    }
    EnsureCurlReady();
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    std::unique_ptr<curl_slist, HeaderListDeleter> headers(
        curl_slist_append(nullptr, "Cache-Control: no-cache"));
    if (!curl || !headers || curl_slist_append(headers.get(), "Pragma: no-cache") == nullptr) {
        code = HttpResult::Failed;
        return {};
    }
    Configure(curl.get(), headers.get());
    CurlAddressRule rule;
    ApplyAddressRule(curl.get(), rule);
    std::string current(url);
    for (int hop = 0;; ++hop) {
        const auto target = SplitUrl(current);
        const auto curlUrl = SystemHttpUrl(current, policy);
        if (!target || !curlUrl) {
            code = HttpResult::Refused;  // a redirect to another scheme
            return {};
        }
        if (hop > options.maxRedirects) {
            code = HttpResult::Failed;
            return {};
        }
        rule.mayReachLocal = origin.MayReachLocal(*target);
        Transfer transfer(options);
        code = PerformHop(curl.get(), *curlUrl, transfer, rule, deadline);
        if (code != HttpResult::Ok) {
            return {};
        }
        long status = 0;
        curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
        const char* location = nullptr;
        if (status >= 300 && status < 400 &&
            curl_easy_getinfo(curl.get(), CURLINFO_REDIRECT_URL, &location) == CURLE_OK &&
            location != nullptr) {
            current = location;
            continue;
        }
        if (policy.errorStatusGivesNothing && status >= 400) {
            return {};
        }
        RemoveLineBreaksAndNuls(transfer.body);
        return std::move(transfer.body);
    }
}

}  // namespace

std::optional<std::string> SystemHttpUrl(std::string_view url, const SystemHttpPolicy& policy) {
    const auto target = SplitUrl(url);
    if (!target) {
        return std::nullopt;
    }
    const std::size_t schemeEnd = url.find("://") + 3;
    const std::size_t objectStart = url.find_first_of("/?", schemeEnd);
    std::string object =
        objectStart == std::string_view::npos ? "/" : std::string(url.substr(objectStart));
    if (object.front() == '?') {
        object.insert(0, "/");
    }
    const bool secure = target->secure || (policy.tlsOnPort443 && target->port == 443);
    return std::string(secure ? "https://" : "http://") + target->host + ":" +
           std::to_string(target->port) + EscapeUrl(object, UrlEscape::WholeUrl);
}

std::string FetchWithSystemHttp(std::string_view url, const SystemHttpPolicy& policy,
                                const HttpOptions& options, HttpResult* result) {
    HttpResult code = HttpResult::Refused;
    std::string body = Fetch(url, policy, options, code);
    if (result != nullptr) {
        *result = code;
    }
    return body;
}

}  // namespace korvana
