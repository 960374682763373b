#pragma once

#include "season/JsonWriter.h"
#include "season/SeasonSnapshot.h"

namespace zefa::season {

// The objects the season's JSON is made of, written where the writer stands:
// the season's document holds them in its lists, the site's data files one
// each.
void putMatch(JsonWriter& json, const SeasonMatch& match);
void putSeasonPlayer(JsonWriter& json, const SeasonPlayer& player);
// The members of a season player's object alone, for an object that holds more.
void putSeasonPlayerMembers(JsonWriter& json, const SeasonPlayer& player);
// A season player's "rating" member: mean, deviation and the rating shown.
void putPlayerRating(JsonWriter& json, const Rating& rating);

}  // namespace zefa::season
