#include "web/WebEngineSettings.h"

#include "platform/SettingsStore.h"

namespace korvana {
namespace {

std::string ReadBaseUrl(const SettingsStore& settings, const char* key) {
    const std::string url = BaseUrl(settings.Read(key).value_or(""));
    return url.empty() ? std::string(kSimulatedWebUrl) : url;
}

// Every engine is on until switched off.
bool Enabled(const SettingsStore& settings, const std::string& key) {
    return settings.Read(key).value_or("1") != "0";
}

std::string UrlIfEnabled(const SettingsStore& settings, const char* urlKey,
                         const char* enabledKey) {
    return Enabled(settings, enabledKey) ? ReadBaseUrl(settings, urlKey) : std::string();
}

std::string DefinedEnabledKey(const EngineDefinition& engine) {
    return "EngineEnabled_" + engine.id;
}

}  // namespace

std::string BaseUrl(std::string_view url) {
    while (url.ends_with('/')) {
        url.remove_suffix(1);
    }
    return std::string(url);
}

EngineUrls ReadEngineUrls(const SettingsStore& settings) {
    EngineUrls urls;
    urls.engine1 = UrlIfEnabled(settings, kEngine1UrlKey, kEngine1EnabledKey);
    urls.engine2 = UrlIfEnabled(settings, kEngine2UrlKey, kEngine2EnabledKey);
    urls.engine3 = UrlIfEnabled(settings, kEngine3UrlKey, kEngine3EnabledKey);
    urls.archive = UrlIfEnabled(settings, kArchiveUrlKey, kArchiveEnabledKey);
    return urls;
}

std::vector<WebEngineChoice> ReadWebEngineChoices(const SettingsStore& settings,
                                                  const std::vector<EngineDefinition>& defined) {
    std::vector<WebEngineChoice> choices{
        {"Web engine 1", kEngine1UrlKey, kEngine1EnabledKey, {}},
        {"Web engine 2", kEngine2UrlKey, kEngine2EnabledKey, {}},
        {"Web engine 3", kEngine3UrlKey, kEngine3EnabledKey, {}},
        {"Internet Archive", kArchiveUrlKey, kArchiveEnabledKey, {}},
    };
    for (WebEngineChoice& choice : choices) {
        choice.url = settings.Read(choice.urlKey).value_or("");
        choice.enabled = Enabled(settings, choice.enabledKey);
    }
    for (const EngineDefinition& engine : defined) {
        choices.push_back({engine.name,
                           {},
                           DefinedEnabledKey(engine),
                           engine.baseUrl,
                           Enabled(settings, DefinedEnabledKey(engine))});
    }
    return choices;
}

std::vector<EngineDefinition> EnabledDefinitions(std::vector<EngineDefinition> defined,
                                                 const SettingsStore& settings) {
    std::erase_if(defined, [&](const EngineDefinition& engine) {
        return !Enabled(settings, DefinedEnabledKey(engine));
    });
    return defined;
}

void WriteWebEngineChoices(SettingsStore& settings, const std::vector<WebEngineChoice>& choices) {
    for (const WebEngineChoice& choice : choices) {
        if (!choice.urlKey.empty()) {
            settings.Write(choice.urlKey, choice.url);
        }
        settings.Write(choice.enabledKey, choice.enabled ? "1" : "0");
    }
}

std::string WebEngineUrlProblem(std::string_view url) {
    if (url.empty()) {
        return {};
    }
    std::string_view rest;
    if (url.starts_with("http://")) {
        rest = url.substr(7);
    } else if (url.starts_with("https://")) {
        rest = url.substr(8);
    } else {
        return "The address must begin with http:// or https://.";
    }
    const std::size_t slash = rest.find('/');
    const std::string_view host = rest.substr(0, slash);
    if (host.empty() || host.front() == ':' || host.find_first_of("@?# \t") != std::string::npos) {
        return "The address must name a host, such as http://127.0.0.1:4100.";
    }
    if (slash != std::string::npos && rest.find_first_not_of('/', slash) != std::string::npos) {
        return "The address must end after the host and port: the engine adds its own path.";
    }
    return {};
}

std::vector<std::string> EngineOrigins(const EngineUrls& urls,
                                       const std::vector<EngineDefinition>& defined) {
    std::vector<std::string> origins;
    for (const std::string* url : {&urls.engine1, &urls.engine2, &urls.engine3, &urls.archive}) {
        if (!url->empty()) {
            origins.push_back(*url);
        }
    }
    for (const EngineDefinition& engine : defined) {
        origins.push_back(engine.baseUrl);
    }
    return origins;
}

}  // namespace korvana
