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
        std::vector<std::span<const CompiledPattern>> lists;
        for (const PatternSet& set : sets_) lists.push_back(set.all());
        prefilter_.emplace(lists);
    }
#endif
}

}  // namespace zefa
