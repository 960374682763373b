#include "theme/PageClock.h"

#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>

#include <array>
#include <limits>

// Writes seconds, minutes, hours, day of the month, month, years since 1900,
// day of the week and day of the year to `fields`; 0 when Date cannot hold
// the time. A NaN is now.
// clang-format off
EM_JS(int, zefa_local_calendar, (double seconds, int* fields), {
    const date = Number.isNaN(seconds) ? new Date() : new Date(seconds * 1000);
    if (Number.isNaN(date.getTime())) return 0;
    const year = date.getFullYear();
    const dayOfYear = (Date.UTC(year, date.getMonth(), date.getDate()) - Date.UTC(year, 0, 1)) / 864e5;
    HEAP32.set([date.getSeconds(), date.getMinutes(), date.getHours(), date.getDate(), date.getMonth(),
                year - 1900, date.getDay(), dayOfYear], fields >> 2);
    return 1;
});
// clang-format on
#endif

namespace zefa {

#ifdef __EMSCRIPTEN__
std::optional<std::tm> localPageTime(std::optional<PageSeconds> seconds) {
    std::array<int, 8> fields{};
    const double time =
        seconds ? static_cast<double>(*seconds) : std::numeric_limits<double>::quiet_NaN();
    if (zefa_local_calendar(time, fields.data()) == 0) return std::nullopt;
    std::tm local{};
    local.tm_sec = fields[0];
    local.tm_min = fields[1];
    local.tm_hour = fields[2];
    local.tm_mday = fields[3];
    local.tm_mon = fields[4];
    local.tm_year = fields[5];
    local.tm_wday = fields[6];
    local.tm_yday = fields[7];
    local.tm_isdst = -1;
    return local;
}
#else
std::optional<std::tm> localPageTime(std::optional<PageSeconds> seconds) {
    const auto time = static_cast<std::time_t>(seconds.value_or(std::time(nullptr)));
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) return std::nullopt;
    return local;
}
#endif

}  // namespace zefa
