#pragma once

#include <ctime>
#include <optional>

namespace zefa {

// The value of SOURCE_DATE_EPOCH (null when unset) as the clock of a page's
// date and time: nothing for unset or empty, the time for a whole number of
// seconds. False for anything else, leaving `clock` as it was.
[[nodiscard]] bool parseSourceDateEpoch(const char* value, std::optional<std::time_t>& clock);

}  // namespace zefa
