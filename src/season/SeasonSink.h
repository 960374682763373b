#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "season/SeasonSnapshot.h"

namespace zefa::season {

// A match as a reading names it before handing it over: what its stored log
// is known by.
struct MatchHeading {
    std::int64_t id = 0;
    std::int64_t playedAt = 0;
    std::string sha256;
    std::int32_t gameVersion = 1;
};

// Takes the season as the store reads it (SeasonStore::readSeason), one value
// at a time, so a reader that does not keep them all needs memory for the
// players and one match only: every match in played order, then every
// player by key (bytewise), each with what SeasonSnapshot would hold.
class SeasonSink {
public:
    virtual ~SeasonSink() = default;

    virtual void match(SeasonMatch&& match) = 0;
    virtual void player(SeasonPlayer&& player) = 0;

    // Whether the reading is to name its matches first (a query more, of
    // the same picture of the store), for a reader that can start on them.
    [[nodiscard]] virtual bool wantsHeadings() const { return false; }
    // The matches the reading hands over, in that order, before the first.
    virtual void headings(std::vector<MatchHeading>&& /*matches*/) {}

protected:
    SeasonSink() = default;
    SeasonSink(const SeasonSink&) = default;
    SeasonSink& operator=(const SeasonSink&) = default;
};

}  // namespace zefa::season
