#include "site/SiteSeason.h"

#include <sys/mman.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "season/SeasonTotals.h"
#include "site/SitePages.h"

namespace zefa::site {

namespace {

// Asks for the block's memory in huge pages where the system gives them on
// request: a league's plays fill tens of megabytes at once, and each small
// page is a fault of its own.
void adviseHugePages(const std::vector<SitePlay>& block) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHuge = std::uintptr_t(2) << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(block.data());
    const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t end = (begin + block.capacity() * sizeof(SitePlay)) & ~(kHuge - 1);
    if (first < end) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)block;
#endif
}

// The text's number in the table, the table's next one for a text not in it.
std::uint32_t number(std::vector<std::string>& table,
                     std::unordered_map<std::string, std::uint32_t>& numbers,
                     const std::string& text) {
    const auto [found, added] = numbers.try_emplace(text, std::uint32_t(table.size()));
    if (added) table.push_back(text);
    return found->second;
}

// The match as the site's pages show it, its keys and names numbered.
SiteMatch slimMatch(const season::SeasonMatch& match, SiteSeason& season, SiteNumbers& numbers) {
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
    const std::span<SitePlay> plays = season.plays.add(match.players.size());
    auto play = plays.begin();
    for (const season::MatchPlayer& player : match.players) {
        *play = {.key = number(season.keys, numbers.keys, player.key),
                 .name = number(season.names, numbers.names, player.name),
                 .rank = player.rank,
                 .kills = player.counters.kills,
                 .deaths = player.counters.deaths,
                 .caps = player.counters.caps,
                 .flagSaves = player.counters.flagSaves,
                 .awardCount = std::int32_t(player.awards.size()),
                 .rating = player.rating};
        for (const std::int32_t award : player.awards)
            if (award >= 0 && award < kAwardCount) play->awardSet |= 1u << award;
        ++play;
    }
    slim.players = plays;
    return slim;
}

// Whether all that changed in the store since `season` was read is matches
// played after its last one: its own matches are all there as they were, no
// other player's matches changed (ratings computed again from an earlier
// match change every later player's), and no keys were merged.
bool onlyLaterMatches(const SiteSeason& season, const season::SeasonChanges& changes) {
    season::SeasonChanges::Unchanged own{.count = std::int64_t(season.matches.size())};
    for (const SiteMatch& match : season.matches) {
        own.idSum += match.id;
        own.changeSeqSum += match.changeSeq;
    }
    if (own != changes.unchanged || season.matches.empty()) return false;
    const SiteMatch& last = season.matches.back();
    std::set<std::string_view> playing;
    for (const season::SeasonMatch& match : changes.matches) {
        if (std::tie(match.playedAt, match.sha256) <= std::tie(last.playedAt, last.sha256))
            return false;
        for (const season::MatchPlayer& player : match.players) playing.insert(player.key);
    }
    for (const season::PlayerDescription& described : changes.players) {
        if (described.changeSeq > season.changeSeq && !playing.contains(described.key))
            return false;
        const auto known = std::ranges::lower_bound(season.players, described.key, {},
                                                    &season::SeasonPlayer::key);
        const bool isKnown = known != season.players.end() && known->key == described.key;
        if (!described.aliases.empty() && (!isKnown || known->aliases != described.aliases))
            return false;
    }
    return std::ranges::all_of(season.players, [&](const season::SeasonPlayer& player) {
        if (player.aliases.empty()) return true;
        const auto described = std::ranges::lower_bound(changes.players, player.key, {},
                                                        &season::PlayerDescription::key);
        return described != changes.players.end() && described->key == player.key &&
               described->aliases == player.aliases;
    });
}

// The place of the player of that key, a new one (with no kills) when the
// season has none.
std::size_t playerPlace(SiteSeason& season, const std::string& key) {
    const auto at = std::ranges::lower_bound(season.players, key, {}, &season::SeasonPlayer::key);
    const auto place = std::size_t(at - season.players.begin());
    if (at == season.players.end() || at->key != key) {
        season.players.emplace(at)->key = key;
        season.kills.insert(season.kills.begin() + std::ptrdiff_t(place), VictimKills());
    }
    return place;
}

// Adds kills of the victim numbered `victim` to the kills kept in the order
// of the victims' keys.
void addKills(const SiteSeason& season, VictimKills& kills, std::uint32_t victim,
              std::int32_t count) {
    const std::string& key = season.keys[victim];
    const auto at = std::ranges::lower_bound(
        kills, key, {},
        [&](const auto& entry) -> const std::string& { return season.keys[entry.victim]; });
    if (at != kills.end() && at->victim == victim) {
        at->count += count;
    } else {
        kills.insert(at, {victim, count});
    }
}

}  // namespace

bool advance(SiteSeason& season, season::SeasonChanges&& changes) {
    if (!onlyLaterMatches(season, changes)) return false;
    SiteAdvance advanced{.earlierMatches = season.matches.size(), .players = {}};
    SiteNumbers numbers;
    for (std::uint32_t n = 0; n < season.keys.size(); ++n) numbers.keys.emplace(season.keys[n], n);
    for (std::uint32_t n = 0; n < season.names.size(); ++n)
        numbers.names.emplace(season.names[n], n);
    for (const season::SeasonMatch& match : changes.matches) {
        season.matches.push_back(slimMatch(match, season, numbers));
        for (const season::MatchPlayer& played : match.players) {
            advanced.players.push_back(played.key);
            const std::size_t place = playerPlace(season, played.key);
            season::SeasonTotals::count(season.players[place], played);
            for (const auto& [victim, count] : played.killsByVictim)
                addKills(season, season.kills[place], number(season.keys, numbers.keys, victim),
                         count);
        }
    }
    auto described = changes.players.begin();
    for (season::SeasonPlayer& player : season.players) {
        while (described != changes.players.end() && described->key < player.key) ++described;
        if (described != changes.players.end() && described->key == player.key) {
            season::describe(player, *described);
        } else {
            season::describe(player, season::PlayerDescription());
        }
    }
    std::ranges::sort(advanced.players);
    advanced.players.erase(std::ranges::unique(advanced.players).begin(), advanced.players.end());
    season.advanced = std::move(advanced);
    season.changeSeq = changes.changeSeq;
    season.wholeMatches = std::move(changes.matches);
    return true;
}

void SiteSeasonSink::match(season::SeasonMatch&& match) {
    if (m_passWhole) m_passWhole(match);
    m_season.matches.push_back(slimMatch(match, m_season, m_numbers));

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
        kills.push_back({number(m_season.keys, m_numbers.keys, victim), count});
    player.killsByVictim = season::KillsByVictim();  // its memory too, which `= {}` keeps
    m_season.players.push_back(std::move(player));
    m_season.kills.push_back(std::move(kills));
}

SiteSeason SiteSeasonSink::take(std::int64_t changeSeq) {
    m_season.changeSeq = changeSeq;
    m_numbers = {};
    return std::move(m_season);
}

std::span<SitePlay> SitePlays::add(std::size_t count) {
    constexpr std::size_t kBlock = std::size_t(1) << 17;  // 7 MB, given as it is used
    if (m_blocks.empty() || m_blocks.back().capacity() - m_blocks.back().size() < count) {
        m_blocks.emplace_back().reserve(std::max(kBlock, count));
        adviseHugePages(m_blocks.back());
    }
    std::vector<SitePlay>& block = m_blocks.back();
    block.resize(block.size() + count);  // within its capacity: the spans into it stay
    return std::span(block).last(count);
}

season::SeasonPlayer SiteSeason::wholePlayer(std::size_t index) const {
    season::SeasonPlayer player = players.at(index);
    player.killsByVictim.reserve(kills[index].size());
    for (const auto& [victim, count] : kills[index])
        player.killsByVictim.emplace_back(keys[victim], count);
    return player;
}

std::vector<std::uint32_t> matchCounts(const SiteSeason& season) {
    std::vector<std::uint32_t> counts(season.keys.size());
    for (const SiteMatch& match : season.matches)
        for (const SitePlay& play : match.players) ++counts[play.key];
    return counts;
}

std::unordered_map<std::string_view, std::uint32_t> keyNumbers(const SiteSeason& season) {
    std::unordered_map<std::string_view, std::uint32_t> numbers;
    for (std::uint32_t n = 0; n < season.keys.size(); ++n) numbers.emplace(season.keys[n], n);
    return numbers;
}

SiteSeason siteSeason(const season::SeasonSnapshot& snapshot) {
    SiteSeasonSink sink;
    for (season::SeasonMatch match : snapshot.matches) sink.match(std::move(match));
    for (season::SeasonPlayer player : snapshot.players) sink.player(std::move(player));
    return sink.take(snapshot.changeSeq);
}

}  // namespace zefa::site
