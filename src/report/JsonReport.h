#pragma once

#include <cstdint>
#include <string>

#include "awards/AwardTable.h"
#include "model/MatchStats.h"

namespace zefa {

// The statistics of a finished run as one JSON document. Texts from the log
// are raw bytes; they are read as ISO-8859-1, one code point per byte.
[[nodiscard]] std::string jsonReport(const MatchStats& stats, const AwardTable& awards,
                                     std::int32_t gameVersion);

}  // namespace zefa
