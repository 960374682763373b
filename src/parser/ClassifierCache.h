#pragma once

#include <memory>
#include <span>
#include <vector>

#include "parser/Classifier.h"
#include "parser/PatternTables.h"
#include "parser/match/MatchEngine.h"

namespace zefa {

// The classifiers of one run that reads many logs: each combination of table
// sets and engine is compiled on its first need and then shared by every
// later reading, which keeps only its scratch space and matchers to itself.
// The cache owns its classifiers; they stay where they are until it goes.
// One thread at a time.
class ClassifierCache {
public:
    ClassifierCache() = default;
    // Readers hold on to the classifiers by reference.
    ClassifierCache(const ClassifierCache&) = delete;
    ClassifierCache& operator=(const ClassifierCache&) = delete;

    // The classifier of these table sets, in this order, with this engine.
    [[nodiscard]] const Classifier& classifier(std::span<const VersionTables* const> tableSets,
                                               MatchEngine engine);

private:
    struct Entry {
        std::vector<const VersionTables*> tableSets;
        MatchEngine engine;
        std::unique_ptr<const Classifier> classifier;
    };
    std::vector<Entry> m_entries;
};

}  // namespace zefa
