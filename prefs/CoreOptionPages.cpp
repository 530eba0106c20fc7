#include "prefs/CoreOptionPages.h"

#include <algorithm>

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

// The first of `names` the core reported, or an empty text.
std::string FirstReported(const CoreOptionsPort& core,
                          const std::array<std::string_view, 2>& names) {
    for (const std::string_view name : names) {
        if (!name.empty() && !Value(core, name).empty()) {
            return std::string(name);
        }
    }
    return {};
}

std::string RangeLine(std::string_view label, NumberRange range) {
    return std::string(label) + ": a whole number from " + std::to_string(range.min) + " to " +
           std::to_string(range.max);
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
        fields.reported[index] = !fields.limits[index].empty();
    }
    return fields;
}

NetworkFields FillNetworks(const CoreOptionsPort& core) {
    NetworkFields fields;
    for (std::size_t i = 0; i < kNetworkCount; ++i) {
        const NetworkRow& row = kNetworkRows[i];
        NetworkFieldValues& values = fields.rows[i];
        const std::string enable = Value(core, row.enableOption);
        values.enableIndex = EqualsIgnoringCase(enable, "true") ? kTrueIndex : kFalseIndex;
        values.portOption = FirstReported(core, row.portOptions);
        if (!values.portOption.empty()) {
            values.port = Value(core, values.portOption);
        }
        const bool present = !values.portOption.empty() || !FirstReported(core, row.partOf).empty();
        values.switchAvailable = present && !enable.empty();
    }
    return fields;
}

bool AnyReported(const GeneralFields& fields) {
    return std::find(fields.reported.begin(), fields.reported.end(), true) != fields.reported.end();
}

bool AnyReported(const NetworkFields& fields) {
    return std::any_of(fields.rows.begin(), fields.rows.end(), [](const NetworkFieldValues& row) {
        return row.switchAvailable || !row.portOption.empty();
    });
}

std::optional<std::uint32_t> ParseOptionNumber(std::string_view text, NumberRange range) {
    if (text.empty() || text.size() > static_cast<std::size_t>(kMaxNumberDigits)) {
        return std::nullopt;
    }
    std::uint64_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        number = number * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (number < range.min || number > range.max) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(number);
}

std::vector<std::string> InvalidFields(const GeneralFields& general,
                                       const NetworkFields& networks) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < kLimitCount; ++i) {
        const LimitField& field = kLimitFields[i];
        if (general.reported[i] && !ParseOptionNumber(general.limits[i], field.range)) {
            lines.push_back(RangeLine(field.label, field.range));
        }
    }
    for (std::size_t i = 0; i < kNetworkCount; ++i) {
        const NetworkFieldValues& row = networks.rows[i];
        if (!row.portOption.empty() && !ParseOptionNumber(row.port, kPortRange)) {
            lines.push_back(RangeLine(std::string(kNetworkRows[i].label) + " port", kPortRange));
        }
    }
    return lines;
}

std::string InvalidFieldsMessage(const std::vector<std::string>& lines) {
    std::string text = "Nothing was saved. Please correct these settings:";
    for (const std::string& line : lines) {
        text += "\n" + line;
    }
    return text;
}

std::vector<OptionCommand> GeneralSaveCommands(const GeneralFields& fields) {
    std::vector<OptionCommand> commands;
    for (const std::size_t index : kLimitSendOrder) {
        const LimitField& field = kLimitFields[index];
        if (!fields.reported[index]) {
            continue;
        }
        if (const auto number = ParseOptionNumber(fields.limits[index], field.range)) {
            commands.push_back({std::string(field.option), std::to_string(*number)});
        }
    }
    return commands;
}

std::vector<OptionCommand> NetworkSaveCommands(const NetworkFields& fields) {
    std::vector<OptionCommand> commands;
    for (std::size_t i = 0; i < kNetworkCount; ++i) {
        if (fields.rows[i].switchAvailable) {
            const bool enabled = fields.rows[i].enableIndex == kTrueIndex;
            commands.push_back(
                {std::string(kNetworkRows[i].enableOption), enabled ? "true" : "false"});
        }
    }
    for (const NetworkFieldValues& row : fields.rows) {
        if (row.portOption.empty()) {
            continue;
        }
        if (const auto number = ParseOptionNumber(row.port, kPortRange)) {
            commands.push_back({row.portOption, std::to_string(*number)});
        }
    }
    return commands;
}

void SendOptionCommands(CoreOptionsPort& core, const std::vector<OptionCommand>& commands) {
    for (const OptionCommand& command : commands) {
        core.SendSetOption(command.name, command.value);
    }
}

}  // namespace korvana
