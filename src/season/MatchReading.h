#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/MatchStats.h"
#include "parser/ClassifierCache.h"
#include "parser/MatchEvents.h"
#include "season/DuplicateRule.h"
#include "season/SeasonSnapshot.h"

namespace zefa::season {

// An award of a match with the ids of the records that won or share it.
struct ReadAward {
    MatchAward award;
    std::vector<std::int32_t> winners;
};

// One log read for the store: the statistics `zefastats --json` gives for it
// (every award selected), its events and its bytes, compressed (unless read
// by readMatchText).
struct MatchReading {
    std::string sha256;
    std::int32_t gameVersion = 1;
    MatchStats stats;  // players ordered by id
    std::vector<ReadAward> awards;
    MatchEvents events;
    // The kept shingles of its events, as the store looks them up
    // (indexedShingles): found where the log is read, not where it is stored.
    std::vector<Shingle> shingles;
    std::vector<std::byte> compressedLog;
    std::int64_t logSize = 0;
};

// Reads a log held in memory with the classifiers of `classifiers`;
// `gameVersion` unset: chosen from the log. Nullopt when nothing in it is a
// player of a match, with the reason in `whyNot`.
[[nodiscard]] std::optional<MatchReading> readMatch(std::string bytes,
                                                    std::optional<std::int32_t> gameVersion,
                                                    ClassifierCache& classifiers,
                                                    std::string& whyNot);
// The same without compressing the bytes: a log the store holds already.
[[nodiscard]] std::optional<MatchReading> readMatchText(std::string bytes,
                                                        std::optional<std::int32_t> gameVersion,
                                                        ClassifierCache& classifiers,
                                                        std::string& whyNot);

}  // namespace zefa::season
