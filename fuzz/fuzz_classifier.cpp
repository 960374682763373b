// Feeds arbitrary bytes as a console log to a reader of both message sets,
// once through the prefilter and once row by row with PCRE2 alone, and
// stops on the first difference between the two. Then finishes the
// statistics and computes the awards.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FeedLog.h"
#include "awards/AwardTable.h"

namespace {

constexpr std::size_t kSets = 2;
const zefa::VersionTables* const kTableSets[kSets] = {
    &zefa::versionTables(zefa::kGameVersionBeta1H), &zefa::versionTables(zefa::kGameVersionBeta2)};

// Both message sets' statistics of one log, read with one engine.
struct Reading {
    std::array<zefa::MatchStats, kSets> stats;
    std::array<std::array<std::int32_t, zefa::kLineRuleCount>, kSets> taken{};

    Reading(const zefa::Classifier& classifier, std::string_view log) {
        zefa::MatchStats* const targets[kSets] = {&stats[0], &stats[1]};
        zefa::LogReader reader(classifier, targets);
        zefa::fuzz::feedLog(reader, log);
        reader.finishLog();
        for (std::size_t set = 0; set < kSets; ++set) {
            for (std::size_t rule = 0; rule < zefa::kLineRuleCount; ++rule)
                taken[set][rule] =
                    reader.parser(set).linesTakenBy(static_cast<zefa::LineRule>(rule));
        }
    }
    bool operator==(const Reading&) const = default;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Compiled once: the database takes far longer to build than an input to read.
    static const zefa::Classifier prefiltered(kTableSets, zefa::MatchEngine::Prefilter);
    static const zefa::Classifier plain(kTableSets, zefa::MatchEngine::Plain);
    const std::string_view log(reinterpret_cast<const char*>(data), size);
    Reading fast(prefiltered, log);
    const Reading reference(plain, log);
    if (!(fast == reference)) std::abort();
    zefa::AwardTable awards;
    for (zefa::MatchStats& stats : fast.stats) awards.ComputeAwards(stats.players);
    return 0;
}
