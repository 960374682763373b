#include "parser/Classifier.h"

namespace zefa {

Classifier::Classifier(std::span<const VersionTables* const> tableSets, MatchEngine engine)
    : engine_(builtEngine(engine)) {
    // Consecutive slots: one scan result covers every set.
    sets_.reserve(tableSets.size());
    std::size_t firstSlot = 0;
    for (const VersionTables* tables : tableSets) {
        firstSlot = sets_.emplace_back(*tables, firstSlot).endSlot();
    }
#if ZEFA_PREFILTER
    if (usesPrefilter(engine_)) {
        std::vector<const PatternSet*> sets;
        for (const PatternSet& set : sets_) sets.push_back(&set);
        prefilter_.emplace(sets);
    }
#endif
}

}  // namespace zefa
