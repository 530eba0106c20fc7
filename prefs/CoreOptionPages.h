#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvana {

class CoreOptionsPort;

// The General and Networks pages of the preferences: what they show, how
// they are filled from the core's options, how their texts are checked and
// the options they send back. The settings live in the core; the pages read
// them at opening and send back only options the core has reported, so a
// core that has not reported its settings (not connected yet) or lacks an
// option (a network it was built without) never gets a value it did not give.
//
// The preferences see an option the core reported with an empty value like
// one it never reported: every option of these pages is a number or a
// switch, so an empty value carries nothing that could be shown or sent back.

// The longest text an option edit box holds. Every value goes out in one
// protocol message whose payload is bounded, so the boxes cap what the core
// reports instead of letting it overflow.
inline constexpr std::size_t kMaxOptionTextBytes = 255;

// The most digits a number box takes: enough for every range below, few
// enough that the number cannot overflow while it is read.
inline constexpr int kMaxNumberDigits = 10;

// The note a page shows while the core has reported none of its options.
inline constexpr std::string_view kCoreOptionsUnreportedText = "The P2P core is not connected.";
// Beside a network the core does not have, and beside the port box of a
// network the core has without a port option of its own.
inline constexpr std::string_view kUnavailableText = "not in this core";
inline constexpr std::string_view kNoPortText = "no port option";
inline constexpr const char* kInvalidFieldsCaption = "Preferences Error";

// The values a number box accepts, both ends included.
struct NumberRange {
    std::uint32_t min;
    std::uint32_t max;
};

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
    NumberRange range;
};

inline constexpr std::size_t kLimitCount = 4;

// In page order, top to bottom. The core itself keeps at least three upload
// slots; rates are capped at 1 GB/s, which no line reaches.
inline constexpr std::array<LimitField, kLimitCount> kLimitFields{{
    {"Maximum simultaneous downloads", 1065, "", "", "max_concurrent_downloads", {0, 10000}},
    {"Maximum simultaneous uploads", 1066, "", "", "max_upload_slots", {3, 10000}},
    {"Limit P2P download bandwidth to",
     1067,
     "KB/s",
     "(0 = unlimited)",
     "max_hard_download_rate",
     {0, 1000000}},
    {"Limit P2P upload bandwidth to",
     1068,
     "KB/s",
     "(0 = unlimited)",
     "max_hard_upload_rate",
     {0, 1000000}},
}};

// The order in which the boxes are filled and their options sent: the two
// bandwidth limits first, then upload slots, then downloads.
inline constexpr std::array<std::size_t, kLimitCount> kLimitSendOrder{2, 3, 1, 0};

// The texts of the four boxes, indexed like kLimitFields, and which of them
// the core has reported (only those are shown enabled and sent).
struct GeneralFields {
    std::array<std::string, kLimitCount> limits;
    std::array<bool, kLimitCount> reported{};
};

// ---- Networks page (dialog 188) ----

inline constexpr int kNetworksPageDialogId = 188;
inline constexpr std::string_view kNetworksGroupText = "P2P Networks";
inline constexpr std::string_view kPortColumnText = "Port";
inline constexpr NumberRange kPortRange{1, 65535};

// The two entries of every network's drop-down, at these indexes.
inline constexpr std::array<std::string_view, 2> kEnableChoices{"TRUE", "FALSE"};
inline constexpr int kTrueIndex = 0;
inline constexpr int kFalseIndex = 1;
inline constexpr int kNoSelection = -1;

// One row of the "P2P Networks" group. Cores name the port options
// differently (a 3.x core prefixes the eDonkey plugin's "port" with
// "ED2K-"), so each row lists the names it knows, and the first one the core
// reported is the one used. Every core reports all the enable switches,
// even for networks it was built without; only a network built in reports
// its own options, so a row counts as present when the core reported one of
// its port names or one of `partOf` (Overnet lives in the eDonkey plugin,
// whose port is not its own).
struct NetworkRow {
    std::string_view label;
    int dropDownId;
    int portEditId;
    std::string_view enableOption;
    std::array<std::string_view, 2> portOptions;
    std::array<std::string_view, 2> partOf;
};

inline constexpr std::size_t kNetworkCount = 8;

// Top to bottom; also the order in which the options are read and sent.
inline constexpr std::array<NetworkRow, kNetworkCount> kNetworkRows{{
    {"Gnutella", 1079, 1087, "enable_gnutella", {"GNUT-client_port", ""}, {}},
    {"Gnutella2", 1080, 1088, "enable_gnutella2", {"G2-client_port", ""}, {}},
    {"Donkey", 1081, 1089, "enable_donkey", {"ED2K-port", "port"}, {}},
    {"Fasttrack", 1083, 1090, "enable_fasttrack", {"FT-client_port", ""}, {}},
    {"Overnet", 1082, 1091, "enable_overnet", {"overnet_port", ""}, {"ED2K-port", "port"}},
    {"DirectConnect", 1084, 1092, "enable_directconnect", {"DC-client_port", ""}, {}},
    {"Soulseek", 1085, 1093, "enable_soulseek", {"SLSK-client_port", ""}, {}},
    {"OpenNap", 1086, 1094, "enable_opennap", {"OpenNap-client_port", ""}, {}},
}};

// The state of one row: the drop-down's selected index (kTrueIndex,
// kFalseIndex or kNoSelection) and the port box's text, and what the core
// has of it: whether its switch can be used (the network is present and
// the switch reported) and the name of its port option (empty when the core
// reported none).
struct NetworkFieldValues {
    int enableIndex = kFalseIndex;
    std::string port;
    bool switchAvailable = false;
    std::string portOption;
};

// Indexed like kNetworkRows.
struct NetworkFields {
    std::array<NetworkFieldValues, kNetworkCount> rows;
};

// ---- Filling, checking and saving ----

// One set-option command.
struct OptionCommand {
    std::string name;
    std::string value;
    bool operator==(const OptionCommand&) const = default;
};

// Each box gets the option's value as the core reported it, and counts as
// reported when that value is not empty.
GeneralFields FillGeneral(const CoreOptionsPort& core);

// A network is TRUE only when its enable option is "true" in any letter case;
// anything else ("1", "yes") shows FALSE. A port box holds the value of the
// first of its row's names the core reported, or nothing.
NetworkFields FillNetworks(const CoreOptionsPort& core);

// Whether the core has reported any option of the page: while it has not,
// the page shows kCoreOptionsUnreportedText.
bool AnyReported(const GeneralFields& fields);
bool AnyReported(const NetworkFields& fields);

// `text` as a number in `range`: decimal digits only (no sign, no blanks),
// at most kMaxNumberDigits of them; empty when it is anything else.
std::optional<std::uint32_t> ParseOptionNumber(std::string_view text, NumberRange range);

// One line per reported box whose text ParseOptionNumber refuses, naming the
// box and the range it takes, in page order; none when every box is fine.
std::vector<std::string> InvalidFields(const GeneralFields& general, const NetworkFields& networks);
// The message for those lines.
std::string InvalidFieldsMessage(const std::vector<std::string>& lines);

// The reported limit options in send order, each value the number typed in
// plain decimal. A box whose text is not a number in its range is left out
// (Save checks with InvalidFields first and sends nothing then).
std::vector<OptionCommand> GeneralSaveCommands(const GeneralFields& fields);

// The enable options of the rows whose switch is available, in row order
// ("true" for index 0, "false" for any other index or no selection), then
// the reported port options in row order, under the names the core reported
// and as plain decimal numbers (a port that is not a valid one is left out).
std::vector<OptionCommand> NetworkSaveCommands(const NetworkFields& fields);

// Sends the commands one after another in the given order.
void SendOptionCommands(CoreOptionsPort& core, const std::vector<OptionCommand>& commands);

// `text` cut to at most `maxBytes` bytes without splitting a UTF-8 sequence.
std::string CapText(std::string_view text, std::size_t maxBytes);

}  // namespace korvana
