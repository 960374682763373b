#include "season/MatchReading.h"

#include <algorithm>

#include "awards/SortPlayers.h"
#include "generation/StatsGenerator.h"
#include "season/LogBytes.h"
#include "season/RecordingFinder.h"

namespace zefa::season {

namespace {

// The records an award's sort puts first: all with the winning value.
std::vector<std::int32_t> awardWinners(const std::list<PlayerRecord>& players,
                                       const AwardDefinition& award) {
    const auto value = [&award](const PlayerRecord& p) {
        return playerStatistic(p, award.sortKey, award.sortIndex);
    };
    const auto best = award.descending ? std::ranges::max(players, {}, value)
                                       : std::ranges::min(players, {}, value);
    std::vector<std::int32_t> winners;
    for (const PlayerRecord& p : players)
        if (value(p) == value(best)) winners.push_back(p.id);
    std::ranges::sort(winners);
    return winners;
}

}  // namespace

std::optional<MatchReading> readMatch(std::string bytes, std::optional<std::int32_t> gameVersion,
                                      ClassifierCache& classifiers, std::string& whyNot) {
    std::vector<std::byte> compressed = compressLog(bytes);
    auto reading = readMatchText(std::move(bytes), gameVersion, classifiers, whyNot);
    if (reading) reading->compressedLog = std::move(compressed);
    return reading;
}

std::optional<MatchReading> readMatchText(std::string bytes,
                                          std::optional<std::int32_t> gameVersion,
                                          ClassifierCache& classifiers, std::string& whyNot) {
    MatchReading reading;
    reading.sha256 = sha256Hex(bytes);
    reading.logSize = static_cast<std::int64_t>(bytes.size());

    StatsGenerator generator({.logText = std::move(bytes),
                              .gameVersion = gameVersion,
                              .classifiers = &classifiers,
                              .recordEvents = true});
    generator.runWithoutPage();
    if (generator.stats().players.empty()) {
        whyNot = "not a console log of a match: no player in it";
        return std::nullopt;
    }

    const AwardTable& table = generator.awards();
    for (std::int32_t i = 0; i < kAwardCount; ++i) {
        if (!table.shown(i)) continue;
        reading.awards.push_back({{i, std::string(table.awardName(i)), table.result(i)},
                                  awardWinners(generator.stats().players,
                                               awardCatalogue()[static_cast<std::size_t>(i)])});
    }
    // The generator is done with: its results move over.
    reading.gameVersion = generator.gameVersion();
    reading.events = std::move(generator.events());
    reading.shingles = indexedShingles(reading.events.lines);
    reading.stats = std::move(generator.stats());
    reading.stats.players.sort(
        [](const PlayerRecord& a, const PlayerRecord& b) { return a.id < b.id; });
    return reading;
}

}  // namespace zefa::season
