#pragma once

#include "season/SeasonSnapshot.h"

namespace zefa::season {

// Takes the season as the store reads it (SeasonStore::readSeason), one value
// at a time, so a reader that does not keep them all needs memory for the
// players and one match only: every match in played order, then every
// player by key (bytewise), each with what SeasonSnapshot would hold.
class SeasonSink {
public:
    virtual ~SeasonSink() = default;

    virtual void match(SeasonMatch&& match) = 0;
    virtual void player(SeasonPlayer&& player) = 0;

protected:
    SeasonSink() = default;
    SeasonSink(const SeasonSink&) = default;
    SeasonSink& operator=(const SeasonSink&) = default;
};

}  // namespace zefa::season
