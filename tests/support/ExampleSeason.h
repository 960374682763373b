#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "season/LogImport.h"

namespace zefa::test {

// The example season's log of match `n` (from 1).
inline std::filesystem::path exampleMatchLog(int n) {
    char name[16];
    std::snprintf(name, sizeof name, "match-%02d.log", n);
    return std::filesystem::path(ZEFA_EXAMPLES_DIR) / "season" / name;
}

// Stores the example's match `n`, played `n` days after a fixed day, and
// rates it.
inline void importExampleMatch(season::SeasonStore& store, int n, ClassifierCache& classifiers) {
    std::string why;
    ASSERT_TRUE(season::importLogFile(store, exampleMatchLog(n),
                                      {.playedAt = 1772000000 + n * 86400}, classifiers, why))
        << why;
    store.updateRatings();
}

}  // namespace zefa::test
