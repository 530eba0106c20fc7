#include "transfers/TransferUnits.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "transfers/TransferTexts.h"

namespace korvana {
namespace {

constexpr double kUnitStep = 1024.0;
constexpr std::array<std::string_view, 6> kUnits = {"kB", "MB", "GB", "TB", "PB", "EB"};

// A figure of 1024 bytes or more: the largest unit that keeps it below
// 1000 once rounded to one decimal, so "1000.0 kB" reads "1.0 MB".
std::string Scaled(double bytes) {
    double value = bytes / kUnitStep;
    std::size_t unit = 0;
    while (value >= 999.95 && unit + 1 < kUnits.size()) {
        value /= kUnitStep;
        ++unit;
    }
    return FixedDecimals(value, 1) + " " + std::string(kUnits[unit]);
}

std::string Count(std::int64_t value, std::string_view unit) {
    return std::to_string(value) + " " + std::string(unit);
}

}  // namespace

std::string HumanSize(std::int64_t bytes) {
    if (bytes < 0) {
        return {};
    }
    if (bytes < 1024) {
        return Count(bytes, bytes == 1 ? "byte" : "bytes");
    }
    return Scaled(static_cast<double>(bytes));
}

std::string HumanSizeWithBytes(std::int64_t bytes) {
    if (bytes < 1024) {
        return HumanSize(bytes);
    }
    return HumanSize(bytes) + " (" + GroupedDigits(bytes) + " bytes)";
}

std::string HumanRate(double bytesPerSecond) {
    if (!(bytesPerSecond >= 0.0) || std::isinf(bytesPerSecond)) {
        return {};
    }
    if (bytesPerSecond < 1024.0) {
        return FixedDecimals(bytesPerSecond, 0) + " bytes/s";
    }
    return Scaled(bytesPerSecond) + "/s";
}

std::string HumanDuration(std::int64_t seconds) {
    if (seconds < 0) {
        return {};
    }
    struct Unit {
        std::int64_t seconds;
        std::string_view name;
    };
    constexpr std::array<Unit, 4> kSteps = {{{86400, "d"}, {3600, "h"}, {60, "min"}, {1, "s"}}};
    for (std::size_t i = 0; i + 1 < kSteps.size(); ++i) {
        if (seconds < kSteps[i].seconds) {
            continue;
        }
        const std::int64_t whole = seconds / kSteps[i].seconds;
        const std::int64_t rest = seconds % kSteps[i].seconds / kSteps[i + 1].seconds;
        std::string text = Count(whole, kSteps[i].name);
        if (rest > 0) {
            text += " " + Count(rest, kSteps[i + 1].name);
        }
        return text;
    }
    return Count(seconds, "s");
}

std::string GroupedDigits(std::int64_t value) {
    const bool negative = value < 0;
    // The magnitude as unsigned, which holds the most negative value too.
    const std::uint64_t magnitude =
        negative ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
    const std::string digits = std::to_string(magnitude);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text += ',';
        }
        text += digits[i];
    }
    return negative ? "-" + text : text;
}

std::string ReceivedText(std::int64_t received, std::int64_t size) {
    const std::string got = HumanSize(std::max<std::int64_t>(received, 0));
    if (size <= 0) {
        return got + " received";
    }
    return got + " of " + HumanSize(size) + " received";
}

std::string TimeLeftTip(std::optional<std::int64_t> secondsLeft) {
    if (!secondsLeft || *secondsLeft < 0) {
        return "Time left not known";
    }
    if (*secondsLeft == 0) {
        return "Nothing left to receive";
    }
    return HumanDuration(*secondsLeft) + " left";
}

}  // namespace korvana
