// Feeds arbitrary bytes as a console log to readers of both message sets and
// stops on the first difference: every line against every pattern, the
// exact matcher's captures against PCRE2's; the whole reading through the
// prefilter against the row-by-row one, and, when PCRE2 decided every line,
// against PCRE2 behind the prefilter. Then finishes the statistics and computes the
// awards.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FeedLog.h"
#include "awards/AwardTable.h"
#include "parser/match/LineMatcher.h"

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
        zefa::ParserSet parsers(classifier, targets);
        zefa::feedLog(parsers, log);
        parsers.finishLog();
        for (std::size_t set = 0; set < kSets; ++set) {
            for (std::size_t rule = 0; rule < zefa::kLineRuleCount; ++rule)
                taken[set][rule] =
                    parsers.parser(set).linesTakenBy(static_cast<zefa::LineRule>(rule));
        }
    }
    bool operator==(const Reading&) const = default;
};

// Aborts where the exact matcher and PCRE2 differ on a line; false when
// PCRE2 gave up on some pattern, so that whole readings may differ. Only the
// patterns the prefilter finds possible are run (the others cannot match,
// which the whole readings check), so that an input is read quickly.
bool sameCaptures(const zefa::Classifier& classifier, zefa::LinePrefilter::Scanner& scanner,
                  std::string_view line) {
    static zefa::LineMatcher exact(zefa::RowMatcher::Exact);
    static zefa::LineMatcher pcre2(zefa::RowMatcher::Pcre2);
    const zefa::CandidateSet& candidates = scanner.scan(line);
    exact.setSubject(line, candidates);
    pcre2.setSubject(line, candidates);
    bool decided = true;
    for (std::size_t set = 0; set < classifier.setCount(); ++set) {
        for (const zefa::CompiledPattern& pattern : classifier.patterns(set).all()) {
            const bool matched = pcre2.test(pattern);
            if (exact.test(pattern) != matched && !pcre2.gaveUp()) std::abort();
            decided = decided && !pcre2.gaveUp();
            for (std::size_t i = 0; matched && i < zefa::LineMatcher::kMaxCaptures; ++i) {
                if (exact.capture(i) != pcre2.capture(i)) std::abort();
            }
        }
    }
    return decided;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Compiled once: the database takes far longer to build than an input to read.
    static const zefa::Classifier prefiltered(kTableSets, zefa::MatchEngine::Prefilter);
    static const zefa::Classifier exactRows(kTableSets, zefa::MatchEngine::Exact);
    static const zefa::Classifier prefilteredPcre2(kTableSets, zefa::MatchEngine::PrefilterPcre2);
    const std::string_view log(reinterpret_cast<const char*>(data), size);

    static zefa::LinePrefilter::Scanner scanner(*prefiltered.prefilter());
    bool decided = true;
    for (std::string_view rest = log; !rest.empty();) {
        const std::size_t lf = rest.find('\n');
        const std::string_view line = rest.substr(0, lf);
        if (line.size() <= zefa::kMaxLineLength)
            decided = sameCaptures(prefiltered, scanner, line) && decided;
        rest.remove_prefix(lf == std::string_view::npos ? rest.size() : lf + 1);
    }

    Reading fast(prefiltered, log);
    if (!(fast == Reading(exactRows, log))) std::abort();
    if (decided && !(fast == Reading(prefilteredPcre2, log))) std::abort();
    zefa::AwardTable awards;
    for (zefa::MatchStats& stats : fast.stats) awards.ComputeAwards(stats.players);
    return 0;
}
