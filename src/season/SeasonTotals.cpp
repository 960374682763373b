#include "season/SeasonTotals.h"

#include <algorithm>

namespace zefa::season {

void SeasonTotals::add(const SeasonMatch& match) {
    for (const MatchPlayer& p : match.players) {
        const std::uint32_t number = numberOf(p.key);
        for (const auto& [victim, count] : p.killsByVictim)
            addKills(number, numberOf(victim), count);
        count(m_totals[number].player, p);
    }
}

void SeasonTotals::count(SeasonPlayer& total, const MatchPlayer& played) {
    total.name = played.name;
    ++total.matches;
    addCounters(total.counters, played.counters);
    total.rank += played.rank;
    total.awardsWon += static_cast<std::int32_t>(played.awards.size());
    total.rating = played.rating;
}

SeasonPlayer* SeasonTotals::find(std::string_view key) {
    const auto found = m_numbers.find(key);
    return found == m_numbers.end() ? nullptr : &m_totals[found->second].player;
}

std::uint32_t SeasonTotals::numberOf(std::string_view key) {
    const auto next = static_cast<std::uint32_t>(m_totals.size());
    const auto [at, added] = m_numbers.try_emplace(std::string(key), next);
    if (added) {
        m_keys.push_back(&at->first);
        m_totals.emplace_back().player.key = key;
    }
    return at->second;
}

// Kills are added unsummed and summed whenever the added ones are as many as
// the summed ones: a few sorts of each player's list instead of a sorted
// insert of every kill.
void SeasonTotals::addKills(std::uint32_t killer, std::uint32_t victim, std::int32_t count) {
    Total& total = m_totals[killer];
    if (total.kills.size() == total.kills.capacity() && total.kills.size() >= 2 * total.summed)
        sumKills(total);
    total.kills.emplace_back(victim, count);
}

void SeasonTotals::sumKills(Total& total) {
    std::vector<VictimKills>& kills = total.kills;
    std::ranges::sort(kills, {}, &VictimKills::first);
    auto kept = kills.begin();
    for (const VictimKills& entry : kills) {
        if (kept != kills.begin() && std::prev(kept)->first == entry.first) {
            std::prev(kept)->second += entry.second;
        } else {
            *kept++ = entry;
        }
    }
    kills.erase(kept, kills.end());
    total.summed = kills.size();
}

std::vector<std::uint32_t> SeasonTotals::sortByKey() {
    std::vector<std::uint32_t> order(m_totals.size());
    for (std::uint32_t number = 0; number < order.size(); ++number) order[number] = number;
    std::ranges::sort(
        order, {}, [this](std::uint32_t number) -> const std::string& { return *m_keys[number]; });
    m_places.assign(order.size(), 0);
    for (std::uint32_t place = 0; place < order.size(); ++place) m_places[order[place]] = place;
    return order;
}

SeasonPlayer SeasonTotals::takePlayer(std::uint32_t number) {
    Total& total = m_totals[number];
    sumKills(total);
    std::ranges::sort(total.kills, {},
                      [this](const VictimKills& entry) { return m_places[entry.first]; });
    SeasonPlayer player = std::move(total.player);
    player.killsByVictim.reserve(total.kills.size());
    for (const auto& [victim, count] : total.kills)
        player.killsByVictim.emplace_back(*m_keys[victim], count);
    total.kills = {};
    return player;
}

}  // namespace zefa::season
