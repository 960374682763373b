#pragma once

#include <string>
#include <string_view>

#include "model/PlayerCounters.h"

namespace zefa::season {

class Statement;

// The counters of kPlayerCounters as columns of the store's `record` table,
// in that order and under their names: an INTEGER per single counter, a BLOB
// of little-endian 32-bit integers per array.

// The columns' definitions for CREATE TABLE, one line each:
// "  mm1 INTEGER NOT NULL,\n" ... "  defenses BLOB NOT NULL,\n".
[[nodiscard]] std::string counterColumnDefinitions();
// The columns' names separated by ", ", each after `prefix` ("r." for a table alias).
[[nodiscard]] std::string counterColumnNames(std::string_view prefix = "");
// Their parameters, numbered from `first` on: "?8, ?9, ..." for first = 8.
[[nodiscard]] std::string counterParameters(int first);
// Binds the counters to the statement's parameters from `first` on.
void bindCounters(Statement& statement, int first, const PlayerCounters& counters);
// Reads the counters from the statement's columns from `first` on.
void readCounters(const Statement& statement, int first, PlayerCounters& counters);

}  // namespace zefa::season
