#include "parser/LogParser.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "model/Teams.h"
#include "parser/match/RequiredLiteral.h"

namespace zefa {

namespace {

constexpr std::array<FlagIndex, kFlagCount> kFlags = {kRedFlag, kBlueFlag};
constexpr std::string_view kTeamKillPrefix = "ally ";

// Capturing a team's flag scores for the other team.
constexpr TeamIndex scoringTeam(FlagIndex flag) { return flag == kRedFlag ? kBlue : kRed; }

// Which team words a captured text holds, compared in lower case.
std::array<bool, kTeamCount> teamWordsIn(std::string_view text) {
    const auto sameLetter = [](char c, char lowerWordChar) {
        return lowerAscii(c) == lowerWordChar;
    };
    std::array<bool, kTeamCount> found{};
    for (std::size_t t = 0; t < kTeams.size(); ++t) {
        const std::string_view word = kTeams[t].word;
        found[t] = std::search(text.begin(), text.end(), word.begin(), word.end(), sameLetter) !=
                   text.end();
    }
    return found;
}

}  // namespace

LogParser::LogParser(MatchStats& stats, const PatternSet& patterns, RowMatcher rows)
    : m_stats(stats), m_tables(patterns.tables()), m_patterns(patterns), m_matcher(rows) {
    // Each rule's patterns, as slots: the chat rule has both chat patterns.
    const std::size_t first = patterns.all().front().slot();
    const std::span<const CompiledPattern> ofRule[kLineRuleCount - 1] = {
        patterns.all().subspan(0, 2),
        std::span(&patterns.selfGrenade(), 1),
        std::span(&patterns.rename(), 1),
        std::span(&patterns.ownerlessSentry(), 1),
        patterns.kills(),
        patterns.flagPickups(),
        patterns.flagCaptures(),
        patterns.flagReturns(),
        patterns.suicides(),
        patterns.environmentDeaths(),
        patterns.defenses(),
    };
    m_ruleOfSlot.resize(patterns.all().size());
    for (std::size_t rule = 0; rule < std::size(ofRule); ++rule) {
        for (const CompiledPattern& pattern : ofRule[rule])
            m_ruleOfSlot[pattern.slot() - first] = static_cast<std::uint8_t>(rule);
        m_ruleEnd[rule] = ofRule[rule].back().slot() + 1;
    }
}

namespace {

// The rules in the order they are tried; the first that takes a line ends
// its handling.
struct Rule {
    LineRule rule;
    bool (LogParser::*take)();
};

}  // namespace

LineRule LogParser::classifyLine(std::string_view line) {
    if (line.empty()) return LineRule::None;
    m_matcher.setSubject(line);
    return classify(nullptr);
}

LineRule LogParser::classifyLine(std::string_view line, const CandidateSet& candidates) {
    if (line.empty()) return LineRule::None;
    m_matcher.setSubject(line, candidates);
    return classify(&candidates);
}

LineRule LogParser::classify(const CandidateSet* candidates) {
    static constexpr std::array<Rule, kLineRuleCount - 1> kRules = {{
        {LineRule::Chat, &LogParser::takeChat},
        {LineRule::SelfGrenade, &LogParser::takeSelfGrenade},
        {LineRule::Rename, &LogParser::takeRename},
        {LineRule::OwnerlessSentry, &LogParser::takeOwnerlessSentry},
        {LineRule::Kill, &LogParser::takeKill},
        {LineRule::FlagPickup, &LogParser::takeFlagPickup},
        {LineRule::FlagCapture, &LogParser::takeFlagCapture},
        {LineRule::FlagReturn, &LogParser::takeFlagReturn},
        {LineRule::Suicide, &LogParser::takeSuicide},
        {LineRule::EnvironmentDeath, &LogParser::takeEnvironmentDeath},
        {LineRule::Defense, &LogParser::takeDefense},
    }};
    LineRule taken = LineRule::None;
    if (candidates) {
        // Straight to the rule of the next candidate: rules with none are
        // not tried. The patterns lie in the order of the rules.
        const std::size_t first = m_patterns.all().front().slot();
        const std::size_t end = m_patterns.endSlot();
        for (std::size_t slot = candidates->next(first, end); slot < end;) {
            const std::size_t rule = m_ruleOfSlot[slot - first];
            if ((this->*kRules[rule].take)()) {
                taken = kRules[rule].rule;
                break;
            }
            slot = candidates->next(m_ruleEnd[rule], end);
        }
    } else {
        for (const auto& [rule, take] : kRules) {
            if ((this->*take)()) {
                taken = rule;
                break;
            }
        }
    }
    ++m_taken[static_cast<std::size_t>(taken)];
    if (m_renames && taken == LineRule::Rename)
        m_renames->emplace_back(m_matcher.capture(1), m_matcher.capture(2));
    return taken;
}

void LogParser::finishLog() {
    for (FlagIndex flag : kFlags) creditSavers(flag);
    m_stats.finish();
}

bool LogParser::takeChat() {
    if (!m_matcher.test(m_patterns.chatFilter())) return false;
    // Talk before the first game event is warm-up chatter and is not kept.
    if (m_started && m_matcher.test(m_patterns.chatLine())) {
        const std::string_view speaker = m_matcher.capture(1);
        if (PlayerRecord* p = m_stats.findPlayer(speaker, false)) ++p->mm1;
        m_stats.chatSpeakers.emplace_back(speaker);
        m_stats.chatTexts.emplace_back(m_matcher.capture(2));
    }
    return true;
}

bool LogParser::takeSelfGrenade() {
    if (!m_matcher.test(m_patterns.selfGrenade())) return false;
    m_started = true;
    if (PlayerRecord* p = player(m_matcher.capture(1))) ++p->selfGren;
    return true;
}

bool LogParser::takeRename() {
    if (!m_matcher.test(m_patterns.rename())) return false;
    PlayerRecord* old = m_stats.findPlayer(m_matcher.capture(1), false);
    if (!old) return true;
    PlayerRecord* renamed = m_stats.findPlayer(m_matcher.capture(2), false);
    if (renamed == old) return true;
    if (renamed) {
        mergeRenamed(*old, *renamed);
    } else {
        m_stats.renamePlayer(*old, m_matcher.capture(2));
    }
    return true;
}

// The merge renumbers the players; flag carriers and savers follow their
// players so that saves and captures stay with the right one.
void LogParser::mergeRenamed(PlayerRecord& from, PlayerRecord& into) {
    const std::int32_t removed = from.id;
    m_stats.mergeRenamed(from, into);
    auto remap = [&](std::int32_t& id) {
        if (id == removed) {
            id = into.id;
        } else if (id > removed) {
            --id;
        }
    };
    for (std::int32_t& carrier : m_flagCarrier) remap(carrier);
    for (auto& savers : m_flagSavers) {
        for (std::int32_t& saver : savers) remap(saver);
    }
}

bool LogParser::takeOwnerlessSentry() {
    return m_matcher.subject().starts_with(kOwnerlessSentryPrefix) &&
           m_matcher.test(m_patterns.ownerlessSentry());
}

bool LogParser::takeKill() {
    const auto row = m_matcher.firstMatch(m_patterns.kills());
    if (!row) return false;
    const KillRow& kill = m_tables.kills[*row];
    recordKill(m_matcher.capture(2), m_matcher.capture(1), kill.weapon, kill.sentry);
    return true;
}

bool LogParser::takeFlagPickup() {
    const auto row = m_matcher.firstMatch(m_patterns.flagPickups());
    if (!row) return false;
    m_started = true;
    PlayerRecord* p = player(m_matcher.capture(1));
    if (!p) return true;
    if (flagPickupTable()[*row].kind == PickupKind::Single) {
        takeFlag(kRedFlag, p->id);
    } else {
        const auto teams = teamWordsIn(m_matcher.capture(2));
        if (teams[kRed]) takeFlag(kRedFlag, p->id);
        if (teams[kBlue]) takeFlag(kBlueFlag, p->id);
    }
    ++p->touches;
    ++p->drops;
    return true;
}

void LogParser::takeFlag(FlagIndex flag, std::int32_t carrierId) {
    m_flagCarrier[flag] = carrierId;
    m_flagState[flag] = m_flagState[flag] == kFlagAtBase ? kFlagFirstCarry : kFlagBroken;
}

bool LogParser::takeFlagCapture() {
    const auto row = m_matcher.firstMatch(m_patterns.flagCaptures());
    if (!row) return false;
    m_started = true;
    PlayerRecord* capper = nullptr;
    switch (flagCaptureTable()[*row].kind) {
        case CaptureKind::CapperNamed:
            capper = captureByNamedCapper();
            break;
        case CaptureKind::FlagNamed:
            capper = captureOfNamedFlag();
            break;
        case CaptureKind::ScoringEvent:
            capper = scoringEvent();
            break;
        case CaptureKind::NamedBase:
            capper = captureInNamedBase();
            break;
    }
    if (capper) {
        ++capper->caps;
        --capper->drops;
    }
    return true;
}

// The capper is credited even when not known to hold a flag; only the flags
// it holds score.
PlayerRecord* LogParser::captureByNamedCapper() {
    PlayerRecord* capper = player(m_matcher.capture(1));
    for (FlagIndex flag : kFlags) {
        if (!capper || m_flagCarrier[flag] != capper->id) continue;
        closeRun(flag);
        ++m_stats.teamScores[scoringTeam(flag)];
    }
    return capper;
}

PlayerRecord* LogParser::captureOfNamedFlag() {
    const auto teams = teamWordsIn(m_matcher.capture(1));
    PlayerRecord* capper = nullptr;
    if (teams[kRed]) {
        if (PlayerRecord* carrier = closeRun(kRedFlag)) {
            ++m_stats.teamScores[scoringTeam(kRedFlag)];
            capper = carrier;
        }
    }
    if (teams[kBlue]) {
        capper = closeRun(kBlueFlag);
        if (capper) ++m_stats.teamScores[scoringTeam(kBlueFlag)];
    }
    return capper;
}

// A ball or single-flag score: the carrier scores and every team named in
// the line loses a point.
PlayerRecord* LogParser::scoringEvent() {
    PlayerRecord* carrier = closeRun(kRedFlag);
    if (!carrier) return nullptr;
    const auto teams = teamWordsIn(m_matcher.capture(0));
    for (std::size_t t = 0; t < teams.size(); ++t) {
        if (teams[t]) --m_stats.teamScores[t];
    }
    return carrier;
}

PlayerRecord* LogParser::captureInNamedBase() {
    const auto teams = teamWordsIn(m_matcher.capture(2));
    if (teams[kRed]) ++m_stats.teamScores[kBlue];
    if (teams[kBlue]) ++m_stats.teamScores[kRed];
    return closeRun(kRedFlag);
}

// Ends the flag's run at a capture; the savers of the run get nothing.
// Returns the carrier, or null when nobody known held the flag.
PlayerRecord* LogParser::closeRun(FlagIndex flag) {
    PlayerRecord* carrier = m_stats.findPlayerById(m_flagCarrier[flag]);
    if (!carrier) return nullptr;
    m_flagCarrier[flag] = kNoCarrier;
    if (m_flagState[flag] == kFlagFirstCarry) ++carrier->c2cs;
    m_flagState[flag] = kFlagAtBase;
    m_flagSavers[flag].clear();
    return carrier;
}

bool LogParser::takeFlagReturn() {
    if (!m_matcher.firstMatch(m_patterns.flagReturns())) return false;
    m_started = true;
    const FlagIndex flag = teamWordsIn(m_matcher.capture(0))[kBlue] ? kBlueFlag : kRedFlag;
    m_flagState[flag] = kFlagAtBase;
    m_flagCarrier[flag] = kNoCarrier;
    creditSavers(flag);
    m_flagSavers[flag].clear();
    return true;
}

void LogParser::creditSavers(FlagIndex flag) {
    for (std::int32_t id : m_flagSavers[flag]) {
        if (PlayerRecord* saver = m_stats.findPlayerById(id)) ++saver->flagSaves;
    }
}

bool LogParser::takeSuicide() {
    const auto row = m_matcher.firstMatch(m_patterns.suicides());
    if (!row) return false;
    recordKill(m_matcher.capture(1), m_matcher.capture(1), m_tables.suicides[*row].weapon, false);
    return true;
}

bool LogParser::takeEnvironmentDeath() {
    if (!m_matcher.firstMatch(m_patterns.environmentDeaths())) return false;
    recordKill(m_matcher.capture(1), m_matcher.capture(1), kEnvironment, false);
    return true;
}

bool LogParser::takeDefense() {
    const auto row = m_matcher.firstMatch(m_patterns.defenses());
    if (!row) return false;
    if (PlayerRecord* p = player(m_matcher.capture(1))) ++p->defenses[defenseTable()[*row].kind];
    return true;
}

void LogParser::recordKill(std::string_view killerName, std::string_view victimName, Weapon weapon,
                           bool sentry) {
    m_started = true;
    const bool teamKill = killerName.starts_with(kTeamKillPrefix);
    if (teamKill) killerName.remove_prefix(kTeamKillPrefix.size());
    PlayerRecord* killerRecord = player(killerName);
    PlayerRecord* victimRecord = player(victimName);
    if (!killerRecord || !victimRecord) return;
    PlayerRecord& killer = *killerRecord;
    PlayerRecord& victim = *victimRecord;

    if (&killer == &victim) {
        ++killer.suicides;
        killer.countKillOf(killer.id);
        return;
    }
    if (teamKill) {
        if (sentry) return;
        ++killer.tks;
        killer.countKillOf(victim.id);
        ++victim.tkDeaths;
        for (std::int32_t& carrier : m_flagCarrier) {
            if (carrier == victim.id) carrier = kNoCarrier;
        }
        return;
    }

    ++killer.kills;
    // A destroyed sentry is no death of its owner.
    if (!sentry) {
        ++victim.deaths;
        killer.countKillOf(victim.id);
    }
    ++killer.weapKills[weapon];
    ++victim.weapDeaths[weapon];
    killer.grenRatio =
        static_cast<std::int32_t>(std::int64_t{100} * killer.weapKills[kGrenade] / killer.kills);
    // Killing a carrier, or destroying its sentry, stops the run and makes a
    // possible save.
    for (FlagIndex flag : kFlags) {
        if (m_flagCarrier[flag] != victim.id) continue;
        m_flagSavers[flag].push_back(killer.id);
        m_flagCarrier[flag] = kNoCarrier;
        m_flagState[flag] = kFlagBroken;
    }
}

}  // namespace zefa
