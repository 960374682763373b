#include "season/RecordingCounts.h"

#include "season/Sqlite.h"

namespace zefa::season {

std::unordered_map<std::int64_t, std::int32_t> recordingCounts(Database& db) {
    std::unordered_map<std::int64_t, std::int32_t> counts;
    if (!db.queryInteger("SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = 'recording'"))
        return counts;
    Statement query = db.prepare("SELECT matchId, count(*) FROM recording GROUP BY matchId");
    while (query.step()) counts[query.integer(0)] = static_cast<std::int32_t>(query.integer(1));
    return counts;
}

}  // namespace zefa::season
