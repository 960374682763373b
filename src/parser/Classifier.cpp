#include "parser/Classifier.h"

namespace zefa {

Classifier::Classifier(std::span<const VersionTables* const> tableSets, MatchEngine engine)
    : m_engine(builtEngine(engine)) {
    // Consecutive slots: one scan result covers every set.
    m_sets.reserve(tableSets.size());
    std::size_t firstSlot = 0;
    for (const VersionTables* tables : tableSets) {
        firstSlot = m_sets.emplace_back(*tables, firstSlot).endSlot();
    }
#if ZEFA_PREFILTER
    if (usesPrefilter(m_engine)) {
        std::vector<std::span<const CompiledPattern>> lists;
        for (const PatternSet& set : m_sets) lists.push_back(set.all());
        m_prefilter.emplace(lists);
    }
#endif
}

}  // namespace zefa
