#include "parser/ClassifierCache.h"

#include <algorithm>

namespace zefa {

const Classifier& ClassifierCache::classifier(std::span<const VersionTables* const> tableSets,
                                              MatchEngine engine) {
    // Engines this build lacks run as the same built one: one classifier for them.
    const MatchEngine built = builtEngine(engine);
    // Plain algorithms: the browser build's C++ library has no range versions of these.
    const auto known = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& entry) {
        return entry.engine == built && std::equal(entry.tableSets.begin(), entry.tableSets.end(),
                                                   tableSets.begin(), tableSets.end());
    });
    if (known != m_entries.end()) return *known->classifier;
    return *m_entries
                .emplace_back(Entry{{tableSets.begin(), tableSets.end()},
                                    built,
                                    std::make_unique<const Classifier>(tableSets, built)})
                .classifier;
}

}  // namespace zefa
