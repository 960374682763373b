#include "site/SiteText.h"

#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <sstream>

#include "model/NameRules.h"
#include "theme/HtmlText.h"
#include "theme/PageSink.h"

namespace zefa::site {

namespace {

std::string emitted(std::string_view text) {
    // Most texts of a season page (numbers, dates, most names) need nothing:
    // no stream made for them.
    if (IsPlainText(text, true)) return std::string(text);
    std::ostringstream out;
    PageSink sink(out, static_cast<std::size_t>(-1));
    EmitText(sink, text, true);
    sink.finish();
    return std::move(out).str();
}

std::chrono::sys_seconds toTime(std::int64_t seconds) {
    return std::chrono::sys_seconds{std::chrono::seconds{seconds}};
}

}  // namespace

std::string htmlText(std::string_view raw) { return emitted(raw); }

std::string plainText(std::string_view raw) { return emitted(stripColourCodes(raw)); }

std::string utcDate(std::int64_t seconds) {
    const std::chrono::year_month_day day{std::chrono::floor<std::chrono::days>(toTime(seconds))};
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02u-%02u", static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
    return text.data();
}

std::string utcDateTime(std::int64_t seconds) {
    const auto time = toTime(seconds);
    const std::chrono::hh_mm_ss clock{time - std::chrono::floor<std::chrono::days>(time)};
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), " %02d:%02d", static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()));
    return utcDate(seconds) + text.data();
}

std::string decimal(double value, int decimals) {
    std::array<char, 64> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value,
                                   std::chars_format::fixed, decimals)
                         .ptr;
    return {text.data(), end};
}

}  // namespace zefa::site
