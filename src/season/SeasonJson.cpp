#include "season/SeasonJson.h"

#include <nlohmann/json.hpp>

#include "model/Latin1Text.h"
#include "season/IsoTime.h"
#include "season/SeasonCounters.h"

namespace zefa::season {

namespace {

using Json = nlohmann::ordered_json;

void putCounters(Json& json, const PlayerCounters& counters, const KillsByVictim& kills) {
    for (const CounterField& field : kCounterFields) json[std::string(field.name)] = counters.*field.counter;
    const auto arrays = counterArrays(counters);
    for (std::size_t a = 0; a < arrays.size(); ++a)
        json[std::string(kCounterArrayNames[a])] = std::vector(arrays[a].begin(), arrays[a].end());
    Json byVictim = Json::object();
    for (const auto& [victim, count] : kills) byVictim[latin1ToUtf8(victim)] = count;
    json["killsByVictim"] = std::move(byVictim);
}

Json matchPlayerJson(const MatchPlayer& p) {
    Json json{{"key", latin1ToUtf8(p.key)}, {"name", latin1ToUtf8(p.name)}, {"rank", p.rank}};
    putCounters(json, p.counters, p.killsByVictim);
    json["awards"] = p.awards;
    json["rating"] = {{"mu", p.rating.mu}, {"sigma", p.rating.sigma}};
    return json;
}

Json matchJson(const SeasonMatch& m) {
    Json awards = Json::array();
    for (const MatchAward& a : m.awards)
        awards.push_back({{"index", a.index},
                          {"name", latin1ToUtf8(a.name)},
                          {"result", latin1ToUtf8(a.result)}});
    Json players = Json::array();
    for (const MatchPlayer& p : m.players) players.push_back(matchPlayerJson(p));
    return Json{{"id", m.id},
                {"file", latin1ToUtf8(m.file)},
                {"sha256", m.sha256},
                {"playedAt", formatUtc(m.playedAt)},
                {"gameVersion", m.gameVersion},
                {"lineCount", m.lineCount},
                {"teamScores", m.teamScores},
                {"awards", std::move(awards)},
                {"players", std::move(players)}};
}

Json seasonPlayerJson(const SeasonPlayer& p) {
    Json aliases = Json::array();
    for (const std::string& alias : p.aliases) aliases.push_back(latin1ToUtf8(alias));
    Json json{{"key", latin1ToUtf8(p.key)},
              {"name", latin1ToUtf8(p.name)},
              {"aliases", std::move(aliases)},
              {"matches", p.matches}};
    putCounters(json, p.counters, p.killsByVictim);
    json["rank"] = p.rank;
    json["awardsWon"] = p.awardsWon;
    json["rating"] = {{"mu", p.rating.mu}, {"sigma", p.rating.sigma}, {"ordinal", p.rating.ordinal()}};
    return json;
}

}  // namespace

std::string seasonJson(const SeasonSnapshot& snapshot) {
    Json matches = Json::array();
    for (const SeasonMatch& m : snapshot.matches) matches.push_back(matchJson(m));
    Json players = Json::array();
    for (const SeasonPlayer& p : snapshot.players) players.push_back(seasonPlayerJson(p));
    const Json season{
        {"formatVersion", 1}, {"matches", std::move(matches)}, {"players", std::move(players)}};
    return season.dump(2) + "\n";
}

}  // namespace zefa::season
