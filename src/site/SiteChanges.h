#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "season/SeasonSnapshot.h"
#include "site/SiteOptions.h"
#include "site/SiteRecord.h"
#include "site/SiteSeason.h"

namespace zefa::site {

// What a match page is made from: its stored log, known by its SHA-256 and
// game version, and the theme, awards and clock that every match page shares.
class MatchPageInputs {
public:
    explicit MatchPageInputs(const SiteOptions& options);

    [[nodiscard]] std::string of(std::string_view sha256, std::int32_t gameVersion) const;

private:
    std::string m_shared;  // hashed once: the theme is long
};

// Which pages of a site the changes since it was last made reach. The record
// keeps, with each page, what it was made from: with the index, the store's
// change number, the options and the players' names; with a match's season
// page, the match's change number and its neighbours; with a player's page
// and data, the player's change number; with a page of the leaderboard or
// the player list, its players' keys and change numbers; with a match's
// data, its change number and its players' ratings; with a match page, its
// log, theme, awards and clock (MatchPageInputs). A page is made again when
// that differs, or when the store's change number is unknown, the options or
// any player's name changed (a rename or a merge, which reach pages all over
// the season), or a full build is asked for.
class SiteChanges {
public:
    // `earlier`: the record of the site in the folder, if there is one.
    SiteChanges(const std::optional<SiteRecord>& earlier, const SiteSeason& season,
                const SiteOptions& options);

    // Whether the site made at `earlier` shows the store at change number
    // `changeSeq` with these options already: then no page needs making.
    [[nodiscard]] static bool current(const SiteRecord& earlier, std::int64_t changeSeq,
                                      const SiteOptions& options);

    // What the files that show the whole season were made from (the index,
    // the match list, the JSON, the data's index and player list).
    [[nodiscard]] const std::string& seasonInputs() const { return m_seasonInputs; }
    // The style sheet: the built-in theme's style and the pages' own.
    [[nodiscard]] const std::string& styleSheet() const { return m_styleInputs; }
    [[nodiscard]] std::string matchSeasonPage(std::size_t index) const;
    // Page `number` of the match list, and of its data: its matches and
    // whether a newer page follows.
    [[nodiscard]] std::string matchListPage(std::size_t number) const;
    // Page `number` of the leaderboard (`leaders`, as SitePages ranks them)
    // and of the player list: which players it shows, in order, with their
    // change numbers, and how many pages the list has. Not the store's
    // change number: a new match leaves the pages of players who did not
    // play it as they were.
    [[nodiscard]] std::string leaderboardPage(
        const std::vector<const season::SeasonPlayer*>& leaders, std::size_t number) const;
    [[nodiscard]] std::string playerListPage(std::size_t number) const;
    // A player's page, and the player's data.
    [[nodiscard]] static std::string playerPage(const season::SeasonPlayer& player);
    // A match's data, which holds its players' ratings after it: the same
    // of the match whole and slim.
    [[nodiscard]] static std::string matchData(const season::SeasonMatch& match);
    [[nodiscard]] static std::string matchData(const SiteMatch& match);

    // Whether every page is to be made again: a full build, other options,
    // a name changed.
    [[nodiscard]] bool all() const { return m_all; }
    // Whether the page, made from `inputs`, is to be made again.
    [[nodiscard]] bool reaches(std::string_view page, std::string_view inputs) const;

private:
    const std::optional<SiteRecord>& m_earlier;
    const SiteSeason& m_season;
    std::string m_seasonInputs;
    std::string m_listInputs;  // the options and the names
    std::string m_styleInputs;
    bool m_all = false;
};

}  // namespace zefa::site
