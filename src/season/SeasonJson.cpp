#include "season/SeasonJson.h"

#include <ostream>

#include "season/SeasonJsonObjects.h"

namespace zefa::season {

namespace {

// Written out to the stream whenever this much has gathered.
constexpr std::size_t kChunk = 1 << 16;

// The document into `text`; `drain` may take what has gathered after each
// match and player, so a season of many matches never stands in memory whole.
template <typename Drain>
void putSeason(std::string& text, const SeasonSnapshot& snapshot, Drain drain) {
    JsonWriter json(text);
    json.beginObject();
    json.member("formatVersion", std::int32_t{1});
    json.key("matches");
    json.beginArray();
    for (const SeasonMatch& match : snapshot.matches) {
        putMatch(json, match);
        drain();
    }
    json.endArray();
    json.key("players");
    json.beginArray();
    for (const SeasonPlayer& player : snapshot.players) {
        putSeasonPlayer(json, player);
        drain();
    }
    json.endArray();
    json.endObject();
    text += '\n';
}

}  // namespace

void writeSeasonJson(std::ostream& out, const SeasonSnapshot& snapshot) {
    std::string text;
    const auto drain = [&] {
        if (text.size() < kChunk) return;
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        text.clear();
    };
    putSeason(text, snapshot, drain);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string seasonJson(const SeasonSnapshot& snapshot) {
    std::string text;
    putSeason(text, snapshot, [] {});
    return text;
}

}  // namespace zefa::season
