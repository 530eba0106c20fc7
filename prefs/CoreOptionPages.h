#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvana {

class CoreOptionsPort;

// The General and Networks pages of the preferences: what they show, how
// they are filled from the core's options, and the options they send back.
// The settings live in the core; the pages only read them at opening and
// send every one of them on Save.

// The longest text an option edit box holds. Every value goes out in one
// protocol message whose payload is bounded, so the boxes cap what is typed
// (and what the core reports) instead of letting a paste overflow it.
inline constexpr std::size_t kMaxOptionTextBytes = 255;

// ---- General page (dialog 187) ----

inline constexpr int kGeneralPageDialogId = 187;
inline constexpr std::string_view kLimitsGroupText = "P2P Limits";

// One labelled edit box of the "P2P Limits" group.
struct LimitField {
    std::string_view label;
    int editId;
    std::string_view unitText;  // beside the box; empty when there is none
    std::string_view noteText;  // after the unit; empty when there is none
    std::string_view option;    // the core option the box edits
};

inline constexpr std::size_t kLimitCount = 4;

// In page order, top to bottom.
inline constexpr std::array<LimitField, kLimitCount> kLimitFields{{
    {"Maximum simultaneous downloads", 1065, "", "", "max_concurrent_downloads"},
    {"Maximum simultaneous uploads", 1066, "", "", "max_upload_slots"},
    {"Limit P2P download bandwidth to", 1067, "KB/s", "(0 = unlimited)", "max_hard_download_rate"},
    {"Limit P2P upload bandwidth to", 1068, "KB/s", "(0 = unlimited)", "max_hard_upload_rate"},
}};

// The order in which the boxes are filled and their options sent: the two
// bandwidth limits first, then upload slots, then downloads.
inline constexpr std::array<std::size_t, kLimitCount> kLimitSendOrder{2, 3, 1, 0};

// The texts of the four boxes, indexed like kLimitFields.
struct GeneralFields {
    std::array<std::string, kLimitCount> limits;
};

// ---- Networks page (dialog 188) ----

inline constexpr int kNetworksPageDialogId = 188;
inline constexpr std::string_view kNetworksGroupText = "P2P Networks";
inline constexpr std::string_view kPortColumnText = "Port";

// The two entries of every network's drop-down, at these indexes.
inline constexpr std::array<std::string_view, 2> kEnableChoices{"TRUE", "FALSE"};
inline constexpr int kTrueIndex = 0;
inline constexpr int kFalseIndex = 1;
inline constexpr int kNoSelection = -1;

// One row of the "P2P Networks" group.
struct NetworkRow {
    std::string_view label;
    int dropDownId;
    int portEditId;
    std::string_view enableOption;
    std::string_view portOption;
    std::string_view defaultPort;
};

inline constexpr std::size_t kNetworkCount = 8;

// Top to bottom; also the order in which the options are read and sent.
// The eDonkey port option has no network prefix.
inline constexpr std::array<NetworkRow, kNetworkCount> kNetworkRows{{
    {"Gnutella", 1079, 1087, "enable_gnutella", "GNUT-client_port", "6346"},
    {"Gnutella2", 1080, 1088, "enable_gnutella2", "G2-client_port", "6347"},
    {"Donkey", 1081, 1089, "enable_donkey", "port", "4662"},
    {"Fasttrack", 1083, 1090, "enable_fasttrack", "FT-client_port", "1214"},
    {"Overnet", 1082, 1091, "enable_overnet", "overnet_port", "9191"},
    {"DirectConnect", 1084, 1092, "enable_directconnect", "DC-client_port", "4444"},
    {"Soulseek", 1085, 1093, "enable_soulseek", "SLSK-client_port", "2234"},
    {"OpenNap", 1086, 1094, "enable_opennap", "OpenNap-client_port", "6699"},
}};

// The state of one row: the drop-down's selected index (kTrueIndex,
// kFalseIndex or kNoSelection) and the port box's text.
struct NetworkFieldValues {
    int enableIndex = kFalseIndex;
    std::string port;
};

// Indexed like kNetworkRows.
struct NetworkFields {
    std::array<NetworkFieldValues, kNetworkCount> rows;
};

// ---- Filling and saving ----

// One set-option command.
struct OptionCommand {
    std::string name;
    std::string value;
    bool operator==(const OptionCommand&) const = default;
};

// Each box gets the option's value as the core reported it; an option the
// core has not reported leaves the box empty.
GeneralFields FillGeneral(const CoreOptionsPort& core);

// A network is TRUE only when its enable option is "true" in any letter case;
// anything else (not reported, empty, "1", "yes") shows FALSE. A port the core
// reports as empty, or not at all, keeps the row's default port text.
NetworkFields FillNetworks(const CoreOptionsPort& core);

// The four limit options in send order, values exactly as typed (capped at
// kMaxOptionTextBytes on a character boundary).
std::vector<OptionCommand> GeneralSaveCommands(const GeneralFields& fields);

// The eight enable options in row order ("true" for index 0, "false" for any
// other index or no selection), then the eight port options in row order
// with the texts exactly as typed (capped like the limits).
std::vector<OptionCommand> NetworkSaveCommands(const NetworkFields& fields);

// Sends the commands one after another in the given order.
void SendOptionCommands(CoreOptionsPort& core, const std::vector<OptionCommand>& commands);

// `text` cut to at most `maxBytes` bytes without splitting a UTF-8 sequence.
std::string CapText(std::string_view text, std::size_t maxBytes);

}  // namespace korvana
