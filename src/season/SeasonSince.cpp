#include "season/SeasonSince.h"

#include <map>
#include <string_view>

namespace zefa::season {

namespace {

template <typename Array>
void addEach(Array& total, const Array& more) {
    for (std::size_t i = 0; i < total.size(); ++i) total[i] += more[i];
}

void add(PlayerCounters& total, const PlayerCounters& more) {
    for (auto field : {&PlayerCounters::mm1, &PlayerCounters::selfGren, &PlayerCounters::kills,
                       &PlayerCounters::deaths, &PlayerCounters::suicides, &PlayerCounters::tks,
                       &PlayerCounters::tkDeaths, &PlayerCounters::touches, &PlayerCounters::caps,
                       &PlayerCounters::drops, &PlayerCounters::c2cs, &PlayerCounters::flagSaves})
        total.*field += more.*field;
    addEach(total.weapKills, more.weapKills);
    addEach(total.weapDeaths, more.weapDeaths);
    addEach(total.defenses, more.defenses);
}

}  // namespace

SeasonSnapshot seasonSince(const SeasonSnapshot& season, std::int64_t since) {
    SeasonSnapshot part;
    struct Totals {
        SeasonPlayer player;
        std::map<std::string, std::int32_t, std::less<>> victims;
    };
    std::map<std::string_view, Totals> totals;
    for (const SeasonMatch& match : season.matches) {
        if (match.playedAt < since) continue;
        part.matches.push_back(match);
        for (const MatchPlayer& record : match.players) {
            Totals& sum = totals[record.key];
            ++sum.player.matches;
            add(sum.player.counters, record.counters);
            sum.player.rank += record.rank;
            sum.player.awardsWon += static_cast<std::int32_t>(record.awards.size());
            for (const auto& [victim, count] : record.killsByVictim) sum.victims[victim] += count;
        }
    }
    for (const SeasonPlayer& whole : season.players) {
        const auto found = totals.find(whole.key);
        if (found == totals.end()) continue;
        SeasonPlayer player = std::move(found->second.player);
        player.key = whole.key;
        player.name = whole.name;
        player.aliases = whole.aliases;
        player.rating = whole.rating;
        player.killsByVictim.assign(found->second.victims.begin(), found->second.victims.end());
        part.players.push_back(std::move(player));
    }
    return part;
}

}  // namespace zefa::season
