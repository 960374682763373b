#include "site/SiteSeason.h"

#include "site/SitePages.h"

namespace zefa::site {

namespace {

// The text's number in the table, the table's next one for a text not in it.
std::uint32_t number(std::vector<std::string>& table,
                     std::unordered_map<std::string, std::uint32_t>& numbers,
                     const std::string& text) {
    const auto [found, added] = numbers.try_emplace(text, std::uint32_t(table.size()));
    if (added) table.push_back(text);
    return found->second;
}

}  // namespace

void SiteSeasonSink::match(season::SeasonMatch&& match) {
    SiteMatch slim{.id = match.id,
                   .file = match.file,
                   .sha256 = match.sha256,
                   .recordings = match.recordings,
                   .recordedBy = match.recordedBy,
                   .playedAt = match.playedAt,
                   .gameVersion = match.gameVersion,
                   .teamScores = match.teamScores,
                   .changeSeq = match.changeSeq,
                   .players = {}};
    slim.players.reserve(match.players.size());
    for (const season::MatchPlayer& player : match.players) {
        SitePlay play{.key = number(m_season.keys, m_keyNumbers, player.key),
                      .name = number(m_season.names, m_nameNumbers, player.name),
                      .rank = player.rank,
                      .kills = player.counters.kills,
                      .deaths = player.counters.deaths,
                      .caps = player.counters.caps,
                      .flagSaves = player.counters.flagSaves,
                      .awardCount = std::int32_t(player.awards.size()),
                      .rating = player.rating};
        for (const std::int32_t award : player.awards)
            if (award >= 0 && award < kAwardCount) play.awardSet |= 1u << award;
        slim.players.push_back(play);
    }
    m_season.matches.push_back(std::move(slim));

    auto& whole = m_season.wholeMatches;
    const auto wanted = [this](const season::SeasonMatch& m) {
        return m_keepWhole && m_keepWhole(m);
    };
    const bool all = keepsSeasonJson(m_season.matches.size());
    if (all || (!m_tooMany && wanted(match))) whole.push_back(std::move(match));
    if (all) return;
    if (m_season.matches.size() == kListPageRows + 1)
        std::erase_if(whole, [&](const season::SeasonMatch& m) { return !wanted(m); });
    if (whole.size() > kListPageRows) {
        // The reader reads them again instead.
        m_tooMany = true;
        whole = std::vector<season::SeasonMatch>();
    }
}

void SiteSeasonSink::player(season::SeasonPlayer&& player) {
    VictimKills kills;
    kills.reserve(player.killsByVictim.size());
    for (const auto& [victim, count] : player.killsByVictim)
        kills.emplace_back(number(m_season.keys, m_keyNumbers, victim), count);
    player.killsByVictim = season::KillsByVictim();  // its memory too, which `= {}` keeps
    m_season.players.push_back(std::move(player));
    m_season.kills.push_back(std::move(kills));
}

SiteSeason SiteSeasonSink::take(std::int64_t changeSeq) {
    m_season.changeSeq = changeSeq;
    m_keyNumbers.clear();
    m_nameNumbers.clear();
    return std::move(m_season);
}

season::SeasonPlayer SiteSeason::wholePlayer(std::size_t index) const {
    season::SeasonPlayer player = players.at(index);
    player.killsByVictim.reserve(kills[index].size());
    for (const auto& [victim, count] : kills[index])
        player.killsByVictim.emplace_back(keys[victim], count);
    return player;
}

SiteSeason siteSeason(const season::SeasonSnapshot& snapshot) {
    SiteSeasonSink sink;
    for (season::SeasonMatch match : snapshot.matches) sink.match(std::move(match));
    for (season::SeasonPlayer player : snapshot.players) sink.player(std::move(player));
    return sink.take(snapshot.changeSeq);
}

}  // namespace zefa::site
