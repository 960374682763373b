#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/MatchStats.h"
#include "model/Weapons.h"
#include "parser/LineRule.h"
#include "parser/MatchEvents.h"
#include "parser/PatternSet.h"
#include "parser/PatternTables.h"
#include "parser/match/CandidateSet.h"
#include "parser/match/LineMatcher.h"
#include "parser/match/MatchEngine.h"

namespace zefa {

// Flag slots; modes with a single flag or ball use the red one.
enum FlagIndex : std::int32_t { kRedFlag = 0, kBlueFlag = 1 };
inline constexpr std::size_t kFlagCount = 2;

// The run of a flag since it was last at its base.
enum FlagRun : std::int32_t {
    kFlagAtBase = 0,
    kFlagFirstCarry = 1,  // picked up once from its base: a capture now is coast to coast
    kFlagBroken = 2,      // picked up again, or its carrier was killed
};

inline constexpr std::int32_t kNoCarrier = -1;

// Turns the lines of one log into updates of the MatchStats it fills and
// follows the flags through the match. One parser per log and table set.
class LogParser {
public:
    LogParser(MatchStats& stats, const PatternSet& patterns, RowMatcher rows = RowMatcher::Exact);

    // Every line read counts, also one that is not classified.
    void countLine() { ++m_stats.lineCount; }
    // One line without its line end; empty lines do nothing. Every row is tried.
    LineRule classifyLine(std::string_view line);
    // The same, trying only the rows among the line's candidates, which must
    // include every row that can match it; the result is the same.
    LineRule classifyLine(std::string_view line, const CandidateSet& candidates);
    // Credits the flag savers still listed and finishes the statistics.
    void finishLog();
    // Notes the raw old and new name of every later rename line in
    // `renames`; null: none.
    void recordRenames(RenameList* renames) { m_renames = renames; }

    [[nodiscard]] bool started() const { return m_started; }
    [[nodiscard]] const std::array<std::int32_t, kFlagCount>& flagCarrier() const {
        return m_flagCarrier;
    }
    [[nodiscard]] const std::array<std::int32_t, kFlagCount>& flagState() const {
        return m_flagState;
    }
    [[nodiscard]] const std::array<std::vector<std::int32_t>, kFlagCount>& flagSavers() const {
        return m_flagSavers;
    }
    // Non-empty lines classified so far that `rule` took.
    [[nodiscard]] std::int32_t linesTakenBy(LineRule rule) const {
        return m_taken[static_cast<std::size_t>(rule)];
    }
    // Lines taken by the version tables (kills, suicides, environment
    // deaths): how well the log fits this parser's game version.
    [[nodiscard]] std::int32_t versionLines() const {
        return linesTakenBy(LineRule::Kill) + linesTakenBy(LineRule::Suicide) +
               linesTakenBy(LineRule::EnvironmentDeath);
    }

private:
    LineRule classify(const CandidateSet* candidates);
    bool takeChat();
    bool takeSelfGrenade();
    bool takeRename();
    bool takeOwnerlessSentry();
    bool takeKill();
    bool takeFlagPickup();
    bool takeFlagCapture();
    bool takeFlagReturn();
    bool takeSuicide();
    bool takeEnvironmentDeath();
    bool takeDefense();

    void recordKill(std::string_view killerName, std::string_view victimName, Weapon weapon,
                    bool sentry);
    void mergeRenamed(PlayerRecord& from, PlayerRecord& into);
    // The player of that name, created if new; null once the list is full.
    PlayerRecord* player(std::string_view rawName) { return m_stats.findPlayer(rawName, true); }

    void takeFlag(FlagIndex flag, std::int32_t carrierId);
    PlayerRecord* captureByNamedCapper();
    PlayerRecord* captureOfNamedFlag();
    PlayerRecord* scoringEvent();
    PlayerRecord* captureInNamedBase();
    PlayerRecord* closeRun(FlagIndex flag);
    void creditSavers(FlagIndex flag);

    MatchStats& m_stats;
    const VersionTables& m_tables;
    const PatternSet& m_patterns;
    LineMatcher m_matcher;
    bool m_started = false;
    std::array<std::int32_t, kFlagCount> m_flagCarrier{kNoCarrier, kNoCarrier};
    std::array<std::int32_t, kFlagCount> m_flagState{kFlagAtBase, kFlagAtBase};
    std::array<std::vector<std::int32_t>, kFlagCount> m_flagSavers;
    std::array<std::int32_t, kLineRuleCount> m_taken{};
    // For the walk over a line's candidates: the rule (index in the order
    // of trying) of each pattern, by slot from the set's first, and the
    // slot after each rule's last pattern.
    std::vector<std::uint8_t> m_ruleOfSlot;
    std::array<std::size_t, kLineRuleCount - 1> m_ruleEnd{};
    RenameList* m_renames = nullptr;
};

}  // namespace zefa
