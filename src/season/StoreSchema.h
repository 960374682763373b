#pragma once

#include <cstdint>

namespace zefa {
class ClassifierCache;
}

namespace zefa::season {

class Database;

// "ZEFA" in `PRAGMA application_id`: a SQLite file without it is not a season store.
inline constexpr std::int32_t kStoreApplicationId = 0x5A454641;
// The schema this program writes, in `PRAGMA user_version`.
inline constexpr std::int32_t kStoreSchemaVersion = 6;

// Brings a store from its version up to kStoreSchemaVersion, one migration
// per version, each in its own transaction; a new store starts at version 0.
// A migration that reads stored logs again reads them with `classifiers`.
void migrateStore(Database& db, std::int32_t fromVersion, ClassifierCache& classifiers);

}  // namespace zefa::season
