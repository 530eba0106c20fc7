#include "prefs/CoreOptionPages.h"

#include "prefs/CoreOptionsPort.h"

namespace korvana {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string Value(const CoreOptionsPort& core, std::string_view option) {
    return CapText(core.OptionValue(std::string(option)), kMaxOptionTextBytes);
}

}  // namespace

std::string CapText(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return std::string(text);
    }
    // Back off over at most three continuation bytes so a multi-byte
    // character is dropped whole; text that is not UTF-8 loses at most those.
    std::size_t cut = maxBytes;
    for (int step = 0;
         step < 3 && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++step) {
        --cut;
    }
    if ((static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        cut = maxBytes;
    }
    return std::string(text.substr(0, cut));
}

GeneralFields FillGeneral(const CoreOptionsPort& core) {
    GeneralFields fields;
    for (const std::size_t index : kLimitSendOrder) {
        fields.limits[index] = Value(core, kLimitFields[index].option);
    }
    return fields;
}

NetworkFields FillNetworks(const CoreOptionsPort& core) {
    NetworkFields fields;
    for (std::size_t i = 0; i < kNetworkCount; ++i) {
        fields.rows[i].port = std::string(kNetworkRows[i].defaultPort);
    }
    for (std::size_t i = 0; i < kNetworkCount; ++i) {
        const bool enabled =
            EqualsIgnoringCase(core.OptionValue(std::string(kNetworkRows[i].enableOption)), "true");
        fields.rows[i].enableIndex = enabled ? kTrueIndex : kFalseIndex;
    }
    for (std::size_t i = 0; i < kNetworkCount; ++i) {
        std::string port = Value(core, kNetworkRows[i].portOption);
        if (!port.empty()) {
            fields.rows[i].port = std::move(port);
        }
    }
    return fields;
}

std::vector<OptionCommand> GeneralSaveCommands(const GeneralFields& fields) {
    std::vector<OptionCommand> commands;
    for (const std::size_t index : kLimitSendOrder) {
        commands.push_back({std::string(kLimitFields[index].option),
                            CapText(fields.limits[index], kMaxOptionTextBytes)});
    }
    return commands;
}

std::vector<OptionCommand> NetworkSaveCommands(const NetworkFields& fields) {
    std::vector<OptionCommand> commands;
    for (std::size_t i = 0; i < kNetworkCount; ++i) {
        const bool enabled = fields.rows[i].enableIndex == kTrueIndex;
        commands.push_back({std::string(kNetworkRows[i].enableOption), enabled ? "true" : "false"});
    }
    for (std::size_t i = 0; i < kNetworkCount; ++i) {
        commands.push_back({std::string(kNetworkRows[i].portOption),
                            CapText(fields.rows[i].port, kMaxOptionTextBytes)});
    }
    return commands;
}

void SendOptionCommands(CoreOptionsPort& core, const std::vector<OptionCommand>& commands) {
    for (const OptionCommand& command : commands) {
        core.SendSetOption(command.name, command.value);
    }
}

}  // namespace korvana
