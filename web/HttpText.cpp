#include "web/HttpText.h"

#include <algorithm>
#include <cctype>

#include "util/AsciiCase.h"
#include "web/ResponseHeader.h"
#include "web/UrlEscape.h"

namespace korvana {
namespace {

constexpr std::string_view kAgentLine = "User-Agent: Mozilla/5.0\r\n";

std::optional<std::uint16_t> ParsePort(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value == 0 || value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

bool SplitHostPort(std::string_view authority, std::uint16_t defaultPort, HttpTarget& target) {
    const std::size_t colon = authority.find(':');
    const std::string_view host = authority.substr(0, colon);
    if (host.empty()) {
        return false;
    }
    target.port = defaultPort;
    if (colon != std::string_view::npos) {
        const auto port = ParsePort(authority.substr(colon + 1));
        if (!port) {
            return false;
        }
        target.port = *port;
    }
    target.host = host;
    CutToLimit(target.host, HttpTarget::kMaxField);
    return true;
}

void SetPath(HttpTarget& target, std::string_view path) {
    target.path = EscapeUrl(path, UrlEscape::RequestLine);
    CutToLimit(target.path, HttpTarget::kMaxField);
}

// A location that starts with a scheme ("name:"), as RFC 3986 spells one.
bool HasScheme(std::string_view value) {
    const std::size_t colon = value.find(':');
    if (colon == 0 || colon == std::string_view::npos ||
        !std::isalpha(static_cast<unsigned char>(value[0]))) {
        return false;
    }
    return std::all_of(
        value.begin(), value.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
        });
}

bool IsWebScheme(std::string_view value) {
    return StartsWithIgnoringCase(value, "http://") || StartsWithIgnoringCase(value, "https://");
}

bool IsAbsoluteLocation(std::string_view value, RedirectJoin join) {
    if (join == RedirectJoin::SearchFamily) {
        return value.starts_with("http");
    }
    return value.find("http://") != std::string_view::npos ||
           value.find("https://") != std::string_view::npos;
}

HttpTarget JoinRelative(const HttpTarget& current, std::string_view value, RedirectJoin join) {
    HttpTarget next;
    next.host = current.host;
    next.port = current.port;
    next.secure = current.secure;
    std::string path;
    if (join == RedirectJoin::SearchFamily || !value.starts_with('/')) {
        path = "/";
    }
    path += value;
    SetPath(next, path);
    return next;
}

}  // namespace

void CutToLimit(std::string& text, std::size_t limit) {
    if (text.size() <= limit) {
        return;
    }
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    text.resize(cut);
}

std::optional<HttpTarget> SplitUrl(std::string_view url) {
    std::uint16_t defaultPort = 0;
    HttpTarget target;
    if (StartsWithIgnoringCase(url, "http://")) {
        defaultPort = 80;
        url.remove_prefix(7);
    } else if (StartsWithIgnoringCase(url, "https://")) {
        defaultPort = 443;
        target.secure = true;
        url.remove_prefix(8);
    } else {
        return std::nullopt;
    }
    const std::size_t authorityEnd = url.find_first_of("/?");
    if (!SplitHostPort(url.substr(0, authorityEnd), defaultPort, target)) {
        return std::nullopt;
    }
    const std::string_view object =
        authorityEnd == std::string_view::npos ? std::string_view() : url.substr(authorityEnd);
    if (object.starts_with('/')) {
        SetPath(target, object);
    } else {
        SetPath(target, "/" + std::string(object));
    }
    return target;
}

std::optional<HttpTarget> ParseRedirectUrl(std::string_view url) {
    const std::size_t scheme = url.find("://");
    if (scheme == std::string_view::npos || !IsWebScheme(url)) {
        return std::nullopt;
    }
    const std::string_view rest = url.substr(scheme + 3);
    const std::size_t slash = rest.find('/');
    HttpTarget target;
    target.secure = scheme == 5;
    if (!SplitHostPort(rest.substr(0, slash), target.secure ? 443 : 80, target)) {
        return std::nullopt;
    }
    SetPath(target, slash == std::string_view::npos ? std::string_view("/") : rest.substr(slash));
    return target;
}

RedirectStep ApplyRedirect(HttpTarget& target, std::string_view response, RedirectJoin join) {
    const ResponseHeader header = ParseResponseHeader(FinalHeader(response));
    if (!header.status || *header.status / 10 != 30 || header.location.empty()) {
        return RedirectStep::None;
    }
    const std::string_view value = header.location;
    if (HasScheme(value) && !IsWebScheme(value)) {
        return RedirectStep::Refused;
    }
    if (!IsAbsoluteLocation(value, join)) {
        target = JoinRelative(target, value, join);
        return RedirectStep::Follow;
    }
    auto next = ParseRedirectUrl(value);
    if (!next) {
        return RedirectStep::None;
    }
    target = std::move(*next);
    return RedirectStep::Follow;
}

std::string BuildRequest(const HttpTarget& target, HttpMethod method) {
    std::string text;
    if (method == HttpMethod::Get) {
        text = "GET " + target.path + " HTTP/1.0\r\nConnection: close\r\nHost: " + target.host +
               "\r\nPragma: no-cache\r\nCache-control: no-cache\r\n";
        text += kAgentLine;
        text += "\r\n";
        return text;
    }
    const std::string_view path = target.path;
    const std::size_t question = path.find('?');
    const std::string_view object = path.substr(0, question);
    const std::string_view body =
        question == std::string_view::npos ? std::string_view() : path.substr(question + 1);
    text = "POST ";
    text += object;
    text += " HTTP/1.1\r\nHost: " + target.host + "\r\n";
    text += kAgentLine;
    text += "Connection: close\r\nContent-Type: application/x-www-form-urlencoded\r\n";
    text += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    text += body;
    return text;
}

}  // namespace korvana
