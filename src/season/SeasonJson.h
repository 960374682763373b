#pragma once

#include <iosfwd>
#include <string>

#include "season/JsonWriter.h"
#include "season/SeasonSink.h"
#include "season/SeasonSnapshot.h"

namespace zefa::season {

// The season as one JSON document (`zefastats season export`), written to
// `out` as a reading hands it over (SeasonStore::readSeason): a match or a
// player at a time, so it needs the memory of one match and a chunk of text.
// Texts from logs are raw bytes read as ISO-8859-1, as in `zefastats --json`.
class SeasonJsonSink final : public SeasonSink {
public:
    explicit SeasonJsonSink(std::ostream& out);

    void match(SeasonMatch&& match) override { write(match); }
    void player(SeasonPlayer&& player) override { write(player); }
    void write(const SeasonMatch& match);
    void write(const SeasonPlayer& player);
    // Ends the document: after the last player, or the last match when
    // there is no player.
    void finish();

private:
    // Ends the matches before the first player.
    void beginPlayers();
    // Writes what has gathered once it is a chunk's worth.
    void drain();

    std::ostream& m_out;
    std::string m_text;
    JsonWriter m_json{m_text};
    bool m_players = false;  // the players have begun
};

// The same document of a season kept whole.
[[nodiscard]] std::string seasonJson(const SeasonSnapshot& snapshot);
// The same, written to `out` match by match.
void writeSeasonJson(std::ostream& out, const SeasonSnapshot& snapshot);

}  // namespace zefa::season
