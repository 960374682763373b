// Feeds arbitrary bytes to the log reader as console log lines, then finishes
// the statistics and computes the awards. The first byte picks the message set.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FeedLog.h"
#include "awards/AwardTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::int32_t version = data[0] & 1 ? zefa::kGameVersionBeta2 : zefa::kGameVersionBeta1H;
    zefa::MatchStats stats;
    zefa::LogParser parser(stats, zefa::versionTables(version));
    zefa::fuzz::feedLog(parser, {reinterpret_cast<const char*>(data) + 1, size - 1});
    parser.finishLog();
    zefa::AwardTable awards;
    awards.ComputeAwards(stats.players);
    return 0;
}
