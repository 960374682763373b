#include "season/SeasonJson.h"

#include <ostream>
#include <sstream>

#include "season/SeasonJsonObjects.h"

namespace zefa::season {

namespace {

// Written out to the stream whenever this much has gathered.
constexpr std::size_t kChunk = 1 << 16;

}  // namespace

SeasonJsonSink::SeasonJsonSink(std::ostream& out) : m_out(out) {
    m_json.beginObject();
    m_json.member("formatVersion", std::int32_t{1});
    m_json.key("matches");
    m_json.beginArray();
}

void SeasonJsonSink::write(const SeasonMatch& match) {
    putMatch(m_json, match);
    drain();
}

void SeasonJsonSink::write(const SeasonPlayer& player) {
    beginPlayers();
    putSeasonPlayer(m_json, player);
    drain();
}

void SeasonJsonSink::finish() {
    beginPlayers();
    m_json.endArray();
    m_json.endObject();
    m_text += '\n';
    m_out.write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
    m_text.clear();
}

void SeasonJsonSink::beginPlayers() {
    if (m_players) return;
    m_players = true;
    m_json.endArray();
    m_json.key("players");
    m_json.beginArray();
}

void SeasonJsonSink::drain() {
    if (m_text.size() < kChunk) return;
    m_out.write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
    m_text.clear();
}

void writeSeasonJson(std::ostream& out, const SeasonSnapshot& snapshot) {
    SeasonJsonSink sink(out);
    for (const SeasonMatch& match : snapshot.matches) sink.write(match);
    for (const SeasonPlayer& player : snapshot.players) sink.write(player);
    sink.finish();
}

std::string seasonJson(const SeasonSnapshot& snapshot) {
    std::ostringstream out;
    writeSeasonJson(out, snapshot);
    return std::move(out).str();
}

}  // namespace zefa::season
