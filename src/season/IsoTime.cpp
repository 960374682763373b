#include "season/IsoTime.h"

#include <charconv>
#include <chrono>
#include <cstdio>

namespace zefa::season {

namespace {

// Reads exactly `digits` digits at the front of `text`.
std::optional<int> number(std::string_view& text, std::size_t digits) {
    if (text.size() < digits) return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + digits, value);
    if (error != std::errc{} || end != text.data() + digits) return std::nullopt;
    text.remove_prefix(digits);
    return value;
}

bool skip(std::string_view& text, char c) {
    if (!text.starts_with(c)) return false;
    text.remove_prefix(1);
    return true;
}

// A zone offset in seconds east of UTC.
std::optional<int> zone(std::string_view text) {
    if (text.empty() || text == "Z") return 0;
    const bool west = text.starts_with('-');
    if (!west && !text.starts_with('+')) return std::nullopt;
    text.remove_prefix(1);
    const auto hours = number(text, 2);
    if (!hours || !skip(text, ':')) return std::nullopt;
    const auto minutes = number(text, 2);
    if (!minutes || !text.empty() || *hours > 23 || *minutes > 59) return std::nullopt;
    return (west ? -1 : 1) * (*hours * 3600 + *minutes * 60);
}

}  // namespace

std::optional<std::int64_t> parseIsoTime(std::string_view text) {
    using namespace std::chrono;
    const auto year = number(text, 4);
    if (!year || !skip(text, '-')) return std::nullopt;
    const auto month = number(text, 2);
    if (!month || !skip(text, '-')) return std::nullopt;
    const auto day = number(text, 2);
    if (!day) return std::nullopt;
    const year_month_day date{std::chrono::year(*year), std::chrono::month(static_cast<unsigned>(*month)),
                              std::chrono::day(static_cast<unsigned>(*day))};
    if (!date.ok()) return std::nullopt;
    int clock = 0;
    if (skip(text, 'T') || skip(text, ' ')) {
        const auto hour = number(text, 2);
        if (!hour || !skip(text, ':')) return std::nullopt;
        const auto minute = number(text, 2);
        if (!minute) return std::nullopt;
        std::optional<int> second = 0;
        if (skip(text, ':') && !(second = number(text, 2))) return std::nullopt;
        if (*hour > 23 || *minute > 59 || *second > 60) return std::nullopt;
        clock = *hour * 3600 + *minute * 60 + *second;
    }
    const auto offset = zone(text);
    if (!offset) return std::nullopt;
    return sys_days(date).time_since_epoch().count() * std::int64_t{86400} + clock - *offset;
}

std::string formatUtc(std::int64_t seconds) {
    using namespace std::chrono;
    const sys_seconds time{std::chrono::seconds(seconds)};
    const auto days = floor<std::chrono::days>(time);
    const year_month_day date{days};
    const hh_mm_ss clock{time - days};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

}  // namespace zefa::season
