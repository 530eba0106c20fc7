#include "web/archive/ArchiveAnswers.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

#include "util/LengthText.h"
#include "web/UrlEscape.h"
#include "web/WebEngineSettings.h"

namespace korvana {
namespace {

using Json = nlohmann::json;

// Parses without exceptions; null for what is not one JSON object.
std::optional<Json> ParseObject(std::string_view answer) {
    if (answer.size() > kMaxArchiveAnswerBytes) {
        return std::nullopt;
    }
    Json parsed = Json::parse(answer.begin(), answer.end(), nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object()) {
        return std::nullopt;
    }
    return parsed;
}

const Json* Member(const Json& object, const char* name) {
    if (!object.is_object()) {
        return nullptr;
    }
    const auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

// A text field, or the first text of a list of them, cut to the bound.
std::string Text(const Json& object, const char* name) {
    const Json* value = Member(object, name);
    if (value != nullptr && value->is_array() && !value->empty()) {
        value = &value->front();
    }
    if (value == nullptr || !value->is_string()) {
        return {};
    }
    const auto& text = value->get_ref<const std::string&>();
    return text.substr(0, kMaxArchiveText);
}

// A whole number given as a number or as decimal text; none otherwise.
std::optional<std::int64_t> WholeNumber(const Json* value) {
    if (value == nullptr) {
        return std::nullopt;
    }
    if (value->is_number_integer()) {
        return value->get<std::int64_t>();
    }
    if (value->is_string()) {
        const auto& text = value->get_ref<const std::string&>();
        std::int64_t number = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (error == std::errc() && end == text.data() + text.size()) {
            return number;
        }
    }
    return std::nullopt;
}

// Seconds given as a number, as decimal text, or as "m:ss" / "h:mm:ss".
double Seconds(const Json* value) {
    if (value == nullptr) {
        return -1.0;
    }
    if (value->is_number()) {
        const double seconds = value->get<double>();
        return std::isfinite(seconds) && seconds >= 0 ? seconds : -1.0;
    }
    if (!value->is_string()) {
        return -1.0;
    }
    const auto& text = value->get_ref<const std::string&>();
    double total = 0.0;
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    for (int part = 0; part < 3; ++part) {
        double number = 0.0;
        const auto [next, error] = std::from_chars(at, end, number);
        if (error != std::errc() || !std::isfinite(number) || number < 0) {
            return -1.0;
        }
        total = total * 60.0 + number;
        if (next == end) {
            return total;
        }
        if (*next != ':') {
            return -1.0;
        }
        at = next + 1;
    }
    return -1.0;
}

bool SafeFileName(std::string_view name) {
    if (name.empty() || name.size() > kMaxArchiveText || name.front() == '/' ||
        name.find('\0') != std::string_view::npos || name.find('\\') != std::string_view::npos) {
        return false;
    }
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t slash = std::min(name.find('/', start), name.size());
        const std::string_view segment = name.substr(start, slash - start);
        if (segment.empty() || segment == "." || segment == "..") {
            return false;
        }
        start = slash + 1;
    }
    return true;
}

bool SafeIdentifier(std::string_view identifier) {
    return !identifier.empty() && identifier.size() <= kMaxArchiveText &&
           identifier.find('/') == std::string_view::npos && identifier != "." &&
           identifier != ".." && identifier.find('\0') == std::string_view::npos;
}

}  // namespace

std::string ArchiveSearchUrl(std::string_view base, std::string_view terms, int page) {
    return BaseUrl(base) + "/advancedsearch.php?q=" + EscapeUrl(terms, UrlEscape::QueryValue) +
           "%20AND%20mediatype%3A%28audio%29&fl%5B%5D=identifier&fl%5B%5D=title&fl%5B%5D=creator"
           "&rows=" +
           std::to_string(kArchiveRowsPerPage) + "&page=" + std::to_string(page) + "&output=json";
}

std::string ArchiveMetadataUrl(std::string_view base, std::string_view identifier) {
    return BaseUrl(base) + "/metadata/" + EscapeUrl(identifier, UrlEscape::QueryValue);
}

std::string ArchiveDownloadUrl(std::string_view base, std::string_view identifier,
                               std::string_view name) {
    std::string url = BaseUrl(base) + "/download/" + EscapeUrl(identifier, UrlEscape::QueryValue);
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t slash = std::min(name.find('/', start), name.size());
        url += '/';
        url += EscapeUrl(name.substr(start, slash - start), UrlEscape::QueryValue);
        start = slash + 1;
    }
    return url;
}

std::optional<ArchiveSearchPage> ReadArchiveSearch(std::string_view answer) {
    const std::optional<Json> parsed = ParseObject(answer);
    const Json* response = parsed ? Member(*parsed, "response") : nullptr;
    const Json* docs = response ? Member(*response, "docs") : nullptr;
    if (docs == nullptr || !docs->is_array()) {
        return std::nullopt;
    }
    ArchiveSearchPage page;
    page.numFound =
        std::max<std::int64_t>(0, WholeNumber(Member(*response, "numFound")).value_or(0));
    page.start = std::max<std::int64_t>(0, WholeNumber(Member(*response, "start")).value_or(0));
    for (const Json& doc : *docs) {
        if (page.items.size() == kMaxArchiveItems) {
            break;
        }
        const Json* identifier = Member(doc, "identifier");
        if (identifier == nullptr || !identifier->is_string() ||
            !SafeIdentifier(identifier->get_ref<const std::string&>())) {
            continue;
        }
        page.items.push_back(
            {identifier->get<std::string>(), Text(doc, "title"), Text(doc, "creator")});
    }
    return page;
}

std::optional<std::vector<ArchiveFile>> ReadArchiveFiles(std::string_view answer) {
    const std::optional<Json> parsed = ParseObject(answer);
    const Json* files = parsed ? Member(*parsed, "files") : nullptr;
    if (files == nullptr || !files->is_array()) {
        return std::nullopt;
    }
    std::vector<ArchiveFile> mp3s;
    for (const Json& entry : *files) {
        if (mp3s.size() == kMaxArchiveFiles) {
            break;
        }
        const Json* name = Member(entry, "name");
        if (name == nullptr || !name->is_string() ||
            Text(entry, "format").find("MP3") == std::string::npos ||
            !SafeFileName(name->get_ref<const std::string&>())) {
            continue;
        }
        ArchiveFile file;
        file.name = name->get<std::string>();
        file.size = WholeNumber(Member(entry, "size")).value_or(-1);
        if (file.size < 0) {
            file.size = -1;
        }
        file.lengthSeconds = Seconds(Member(entry, "length"));
        file.title = Text(entry, "title");
        file.creator = Text(entry, "creator");
        file.album = Text(entry, "album");
        mp3s.push_back(std::move(file));
    }
    return mp3s;
}

std::string ArchiveLengthText(const ArchiveFile& file) {
    if (file.lengthSeconds < 0 || file.lengthSeconds > 1e7) {
        return {};
    }
    return LengthText(static_cast<std::int64_t>(file.lengthSeconds + 0.5));
}

std::string ArchiveResultName(const ArchiveFile& file) {
    const std::size_t slash = file.name.rfind('/');
    return slash == std::string::npos ? file.name : file.name.substr(slash + 1);
}

}  // namespace korvana
