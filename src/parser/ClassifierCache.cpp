#include "parser/ClassifierCache.h"

#include <algorithm>

namespace zefa {

const Classifier& ClassifierCache::classifier(std::span<const VersionTables* const> tableSets,
                                              MatchEngine engine) {
    // Engines this build lacks run as the same built one: one classifier for them.
    const MatchEngine built = builtEngine(engine);
    const auto known = std::ranges::find_if(entries_, [&](const Entry& entry) {
        return entry.engine == built && std::ranges::equal(entry.tableSets, tableSets);
    });
    if (known != entries_.end()) return *known->classifier;
    return *entries_
                .emplace_back(Entry{{tableSets.begin(), tableSets.end()},
                                    built,
                                    std::make_unique<const Classifier>(tableSets, built)})
                .classifier;
}

}  // namespace zefa
