#include "season/SeasonJsonObjects.h"

#include "season/IsoTime.h"

namespace zefa::season {

namespace {

void putCounters(JsonWriter& json, const PlayerCounters& counters, const KillsByVictim& kills) {
    forEachCounter([&](const auto& field) { json.member(field.name, counters.*field.member); });
    json.key("killsByVictim");
    json.beginObject();
    for (const auto& [victim, count] : kills) json.member(victim, count);
    json.endObject();
}

void putMatchPlayer(JsonWriter& json, const MatchPlayer& p) {
    json.beginObject();
    json.member("key", p.key);
    json.member("name", p.name);
    json.member("rank", p.rank);
    putCounters(json, p.counters, p.killsByVictim);
    json.member("awards", p.awards);
    json.key("rating");
    json.beginObject();
    json.member("mu", p.rating.mu);
    json.member("sigma", p.rating.sigma);
    json.endObject();
    json.endObject();
}

}  // namespace

void putMatch(JsonWriter& json, const SeasonMatch& m) {
    json.beginObject();
    json.member("id", m.id);
    json.member("file", m.file);
    json.member("sha256", m.sha256);
    json.member("recordings", m.recordings);
    json.key("recordedBy");
    json.beginArray();
    for (const std::string& label : m.recordedBy) json.text(label);
    json.endArray();
    json.member("playedAt", formatUtc(m.playedAt));
    json.member("gameVersion", m.gameVersion);
    json.member("lineCount", m.lineCount);
    json.member("teamScores", m.teamScores);
    json.key("awards");
    json.beginArray();
    for (const MatchAward& a : m.awards) {
        json.beginObject();
        json.member("index", a.index);
        json.member("name", a.name);
        json.member("result", a.result);
        json.endObject();
    }
    json.endArray();
    json.key("players");
    json.beginArray();
    for (const MatchPlayer& p : m.players) putMatchPlayer(json, p);
    json.endArray();
    json.endObject();
}

void putSeasonPlayerMembers(JsonWriter& json, const SeasonPlayer& p) {
    json.member("key", p.key);
    json.member("name", p.name);
    json.key("aliases");
    json.beginArray();
    for (const std::string& alias : p.aliases) json.text(alias);
    json.endArray();
    json.member("matches", p.matches);
    putCounters(json, p.counters, p.killsByVictim);
    json.member("rank", p.rank);
    json.member("awardsWon", p.awardsWon);
    putPlayerRating(json, p.rating);
}

void putPlayerRating(JsonWriter& json, const Rating& rating) {
    json.key("rating");
    json.beginObject();
    json.member("mu", rating.mu);
    json.member("sigma", rating.sigma);
    json.member("ordinal", rating.ordinal());
    json.endObject();
}

void putSeasonPlayer(JsonWriter& json, const SeasonPlayer& player) {
    json.beginObject();
    putSeasonPlayerMembers(json, player);
    json.endObject();
}

}  // namespace zefa::season
