#include "parser/Classifier.h"

namespace zefa {

Classifier::Classifier(std::span<const VersionTables* const> tableSets, MatchEngine engine) {
    // Consecutive slots: one scan result covers every set.
    sets_.reserve(tableSets.size());
    std::size_t firstSlot = 0;
    for (const VersionTables* tables : tableSets) {
        firstSlot = sets_.emplace_back(*tables, firstSlot).endSlot();
    }
#if ZEFA_PREFILTER
    if (engine == MatchEngine::Prefilter) {
        std::vector<const PatternSet*> sets;
        for (const PatternSet& set : sets_) sets.push_back(&set);
        prefilter_.emplace(sets);
    }
#else
    static_cast<void>(engine);  // the plain engine is the only one built
#endif
}

MatchEngine Classifier::engine() const {
#if ZEFA_PREFILTER
    if (prefilter_) return MatchEngine::Prefilter;
#endif
    return MatchEngine::Plain;
}

}  // namespace zefa
