#include "tools/sim/SimConfig.h"

#include <arpa/inet.h>

#include <charconv>
#include <functional>
#include <map>

namespace korvana::sim {
namespace {

bool ParseInteger(const std::string& text, std::int64_t low, std::int64_t high, std::int64_t& out) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high) {
        return false;
    }
    out = value;
    return true;
}

using Setter = std::function<bool(SimConfig&, const std::string&)>;

Setter Integer(std::int64_t low, std::int64_t high,
               std::function<void(SimConfig&, std::int64_t)> set) {
    return [=](SimConfig& config, const std::string& text) {
        std::int64_t value = 0;
        if (!ParseInteger(text, low, high, value)) {
            return false;
        }
        set(config, value);
        return true;
    };
}

Setter Text(std::string SimConfig::*field) {
    return [=](SimConfig& config, const std::string& text) {
        if (text.empty()) {
            return false;
        }
        config.*field = text;
        return true;
    };
}

const std::map<std::string, Setter>& ValuedOptions() {
    static const std::map<std::string, Setter> options = {
        {"--port", Integer(0, 65535,
                           [](SimConfig& c, std::int64_t v) {
                               c.port = int(v);
                               c.portGiven = true;
                           })},
        {"--web-port", Integer(0, 65535, [](SimConfig& c, std::int64_t v) { c.webPort = int(v); })},
        {"--host",
         [](SimConfig& c, const std::string& text) {
             c.host = text;
             return IsLoopbackHost(text);
         }},
        {"--ready-file", Text(&SimConfig::readyFile)},
        {"--trace", Text(&SimConfig::traceFile)},
        {"--dir", Text(&SimConfig::folder)},
        {"--catalogue", Text(&SimConfig::catalogueFile)},
        {"--catalogue-size",
         Integer(1, 1'000'000, [](SimConfig& c, std::int64_t v) { c.catalogueSize = v; })},
        {"--download-rate",
         Integer(0, 10'000'000'000, [](SimConfig& c, std::int64_t v) { c.downloadRate = v; })},
        {"--hello-delay-ms",
         Integer(0, 600'000, [](SimConfig& c, std::int64_t v) { c.faults.helloDelayMs = int(v); })},
        {"--close-after",
         Integer(1, 1'000'000'000,
                 [](SimConfig& c, std::int64_t v) { c.faults.closeAfterFrames = v; })},
        {"--flood",
         Integer(1, 100'000'000, [](SimConfig& c, std::int64_t v) { c.faults.flood = v; })},
    };
    return options;
}

// The bind options a real core takes, so the program starts either core the
// same way. The GUI address is where the simulated core listens; it has no
// telnet console or web interface, so their addresses are only checked.
const std::map<std::string, Setter>& CoreBindOptions() {
    static const std::map<std::string, Setter> options = {
        {"-gui_bind_addr",
         [](SimConfig& c, const std::string& text) {
             c.host = text;
             return IsLoopbackHost(text);
         }},
        {"-telnet_bind_addr",
         [](SimConfig&, const std::string& text) { return IsLoopbackHost(text); }},
        {"-http_bind_addr",
         [](SimConfig&, const std::string& text) { return IsLoopbackHost(text); }},
    };
    return options;
}

const std::map<std::string, std::function<void(SimConfig&)>>& Switches() {
    static const std::map<std::string, std::function<void(SimConfig&)>> switches = {
        {"--no-hello", [](SimConfig& c) { c.faults.noHello = true; }},
        {"--oversized-frame", [](SimConfig& c) { c.faults.oversizedFrame = true; }},
        {"--garbage", [](SimConfig& c) { c.faults.garbage = true; }},
        {"--truncated-strings", [](SimConfig& c) { c.faults.truncatedStrings = true; }},
        {"--unknown-opcodes", [](SimConfig& c) { c.faults.unknownOpcodes = true; }},
        {"--duplicate-results", [](SimConfig& c) { c.faults.duplicateResults = true; }},
        {"--unknown-search-results", [](SimConfig& c) { c.faults.unknownSearchResults = true; }},
        {"--drop-mid-frame", [](SimConfig& c) { c.faults.dropMidFrame = true; }},
        {"--real-core-forms", [](SimConfig& c) { c.form = WireForm::kRealCore; }},
        {"--no-stats", [](SimConfig& c) { c.stats = false; }},
        {"--ignore-shutdown", [](SimConfig& c) { c.faults.ignoreShutdown = true; }},
    };
    return switches;
}

// Applies one option; `next` is the following argument, taken when the
// option needs a value. Returns the number of arguments used, 0 on error.
std::size_t ApplyOption(SimConfig& config, const std::string& arg, const std::string* next,
                        std::string& error) {
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    if (const auto sw = Switches().find(arg); sw != Switches().end()) {
        sw->second(config);
        config.ownOptionsGiven = true;
        return 1;
    }
    auto valued = ValuedOptions().find(name);
    if (valued == ValuedOptions().end()) {
        valued = CoreBindOptions().find(name);
        if (valued == CoreBindOptions().end()) {
            error = "unknown option " + arg;
            return 0;
        }
    } else {
        config.ownOptionsGiven = true;
    }
    const bool inlineValue = equals != std::string::npos;
    if (!inlineValue && next == nullptr) {
        error = "option " + name + " needs a value";
        return 0;
    }
    const std::string value = inlineValue ? arg.substr(equals + 1) : *next;
    if (!valued->second(config, value)) {
        error = "bad value for " + name + ": " + value;
        return 0;
    }
    return inlineValue ? 1 : 2;
}

}  // namespace

bool IsLoopbackHost(const std::string& host) {
    if (host == "localhost" || host == "::1") {
        return true;
    }
    in_addr address{};
    if (inet_pton(AF_INET, host.c_str(), &address) != 1) {
        return false;
    }
    return (ntohl(address.s_addr) >> 24) == 127;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine parsed;
    SimConfig config;
    for (std::size_t i = 0; i < args.size();) {
        if (args[i] == "--help" || args[i] == "-h") {
            parsed.help = true;
            return parsed;
        }
        const std::string* next = i + 1 < args.size() ? &args[i + 1] : nullptr;
        const std::size_t used = ApplyOption(config, args[i], next, parsed.error);
        if (used == 0) {
            return parsed;
        }
        i += used;
    }
    parsed.config = config;
    return parsed;
}

std::string UsageText() {
    return "usage: korvana-sim [options]\n"
           "A simulated MLDonkey core speaking the GUI protocol on a loopback port.\n"
           "  --port N              port to listen on (default: gui_port of the core\n"
           "                        folder's downloads.ini, else 4001; 0 picks a free one)\n"
           "  --web-port N          also serve the simulated web engines and vendor there\n"
           "                        (started without options of its own: 4100)\n"
           "  --host ADDR           loopback address to listen on (default 127.0.0.1)\n"
           "  --ready-file PATH     write the port there once listening\n"
           "  --trace PATH          append one line per frame received: <opcode> <hex>\n"
           "  --dir PATH            core folder (default: current folder)\n"
           "  --catalogue PATH      extra catalogue lines: artist<TAB>title<TAB>album"
           "<TAB>bitrate<TAB>seconds\n"
           "  --catalogue-size N    generated catalogue entries (default 2000)\n"
           "  --download-rate B     bytes per second per download (default 200000)\n"
           "  --no-stats            send client statistics only after log-in\n"
           "  --real-core-forms     speak like an MLDonkey 3.x core\n"
           "  -gui_bind_addr ADDR   as --host; -telnet_bind_addr ADDR and -http_bind_addr ADDR\n"
           "                        are accepted for a loopback ADDR, as a real core takes them\n"
           "faults: --no-hello --hello-delay-ms N --close-after N --oversized-frame --garbage\n"
           "        --truncated-strings --unknown-opcodes --duplicate-results\n"
           "        --unknown-search-results --flood N --drop-mid-frame --ignore-shutdown\n"
           "        (KORVANA_SIM_IGNORE_SHUTDOWN=1 in the environment also sets "
           "--ignore-shutdown,\n"
           "        for a core that a front end starts with arguments of its own)\n";
}

}  // namespace korvana::sim
