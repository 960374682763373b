#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "awards/AwardTable.h"
#include "season/SeasonChanges.h"
#include "season/SeasonSink.h"
#include "season/SeasonSnapshot.h"

namespace zefa::site {

// A season player in one match, as the site's lists, player pages and charts
// show it: 56 bytes, a small part of a whole MatchPlayer, of which a long
// season has a million.
struct SitePlay {
    std::uint32_t key = 0;   // into SiteSeason::keys
    std::uint32_t name = 0;  // into SiteSeason::names
    std::int32_t rank = 0;
    std::int32_t kills = 0;
    std::int32_t deaths = 0;
    std::int32_t caps = 0;
    std::int32_t flagSaves = 0;
    std::uint32_t awardSet = 0;   // bit n: award n of the catalogue won or shared
    std::int32_t awardCount = 0;  // awards won or shared
    season::Rating rating;        // after this match
};
static_assert(kAwardCount <= 32, "an award set holds every award");

// A match as the site's own pages show it; its data file alone needs it whole.
struct SiteMatch {
    std::int64_t id = 0;
    std::string file;
    std::string sha256;
    std::int32_t recordings = 1;
    std::vector<std::string> recordedBy;
    std::int64_t playedAt = 0;
    std::int32_t gameVersion = 1;
    std::array<std::int32_t, kTeamCount> teamScores{};
    std::int64_t changeSeq = 0;
    std::span<const SitePlay> players;  // ordered by key (bytewise), in SiteSeason::plays
};

// Where a season keeps its matches' players: in blocks that never move, so a
// match's players stay where it points as the season grows and is moved; a
// league's season has a million, which one allocation each would cost a
// tenth of a second to make.
class SitePlays {
public:
    SitePlays() = default;
    SitePlays(SitePlays&&) = default;
    SitePlays& operator=(SitePlays&&) = default;
    SitePlays(const SitePlays&) = delete;  // its matches would point into the original
    SitePlays& operator=(const SitePlays&) = delete;

    // Room for `count` players of a match, one after the other.
    [[nodiscard]] std::span<SitePlay> add(std::size_t count);

private:
    std::vector<std::vector<SitePlay>> m_blocks;  // each filled up to its capacity at most
};

// A player's kills of one victim, by the victim's number in SiteSeason::keys.
struct VictimKill {
    std::uint32_t victim = 0;
    std::int32_t count = 0;
};
using VictimKills = std::vector<VictimKill>;

// What advance() brought into a season: the files of other matches and
// players stay as they were.
struct SiteAdvance {
    std::size_t earlierMatches = 0;    // the season's matches before it
    std::vector<std::string> players;  // the keys of the new matches' players, sorted
};

// The season as its site needs it: the matches slim, the players' kills by
// victim by number (a league's players each kill hundreds of others), and a
// few matches whole for the files that show them so.
struct SiteSeason {
    std::deque<SiteMatch> matches;  // by played-at time, then SHA-256; grown without copies
    SitePlays plays;                // the matches' players
    // By key (bytewise); their killsByVictim left empty: in `kills`.
    std::vector<season::SeasonPlayer> players;
    std::vector<VictimKills> kills;  // by player, as `players`, in the order of their keys
    std::vector<std::string> keys;   // every key the matches and kills name, each once
    std::vector<std::string> names;  // every name in a match, each once
    std::int64_t changeSeq = 0;
    // Every match whole while the site keeps the season's JSON
    // (keepsSeasonJson); beyond, those a reading was asked to keep, while
    // they are no more than a page of the match list's (kListPageRows).
    std::vector<season::SeasonMatch> wholeMatches;
    std::optional<SiteAdvance> advanced;  // when advance() brought it up to date

    // The player at `index` with its kills by victim, as the store gives it.
    [[nodiscard]] season::SeasonPlayer wholePlayer(std::size_t index) const;
};

// The numbers a growing SiteSeason gives its keys and names.
struct SiteNumbers {
    std::unordered_map<std::string, std::uint32_t> keys;
    std::unordered_map<std::string, std::uint32_t> names;
};

// How many matches each of the season's keys played, by its number: for
// lists made to size before they are filled.
[[nodiscard]] std::vector<std::uint32_t> matchCounts(const SiteSeason& season);

// The number of each of the season's keys (SiteSeason::keys).
[[nodiscard]] std::unordered_map<std::string_view, std::uint32_t> keyNumbers(
    const SiteSeason& season);

// Builds a SiteSeason from a reading of the store (SeasonStore::readSeason),
// in memory of the players, the slim matches and a page's worth of whole
// ones: those `keepWhole` asks for, when set. Each match whole is shown to
// `passWhole` too, when set, for a reader that needs them all once.
class SiteSeasonSink final : public season::SeasonSink {
public:
    using KeepWhole = std::function<bool(const season::SeasonMatch&)>;
    // Takes the matches a reading names before it hands them over.
    using TakeHeadings = std::function<void(std::vector<season::MatchHeading>&&)>;
    // Sees each match whole as it passes.
    using PassWhole = std::function<void(const season::SeasonMatch&)>;
    explicit SiteSeasonSink(KeepWhole keepWhole = {}, TakeHeadings takeHeadings = {},
                            PassWhole passWhole = {})
        : m_keepWhole(std::move(keepWhole)),
          m_takeHeadings(std::move(takeHeadings)),
          m_passWhole(std::move(passWhole)) {}

    void match(season::SeasonMatch&& match) override;
    void player(season::SeasonPlayer&& player) override;
    [[nodiscard]] bool wantsHeadings() const override { return bool(m_takeHeadings); }
    void headings(std::vector<season::MatchHeading>&& matches) override {
        m_takeHeadings(std::move(matches));
    }

    // The season read, its change number set; the sink is spent.
    [[nodiscard]] SiteSeason take(std::int64_t changeSeq);

private:
    KeepWhole m_keepWhole;
    TakeHeadings m_takeHeadings;
    PassWhole m_passWhole;
    SiteSeason m_season;
    bool m_tooMany = false;  // more matches were wanted whole than are kept
    SiteNumbers m_numbers;
};

// Brings `season`, as read at its change number, up to the store's `changes`
// when all they hold is matches played after its last one: its matches kept
// whole are then those. False, and `season` left as it was, when anything
// else changed (a match changed or gone, a merge, ratings computed again from
// an earlier match): the season is to be read again.
[[nodiscard]] bool advance(SiteSeason& season, season::SeasonChanges&& changes);

// The same of a season kept whole.
[[nodiscard]] SiteSeason siteSeason(const season::SeasonSnapshot& snapshot);

}  // namespace zefa::site
