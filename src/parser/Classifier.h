#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "parser/PatternSet.h"
#include "parser/PatternTables.h"
#include "parser/match/MatchEngine.h"
#if ZEFA_PREFILTER
#include "parser/match/LinePrefilter.h"
#endif

namespace zefa {

// What classifying lines under one or more table sets needs, compiled once:
// the patterns of each set and, with the prefilter engine, one database that
// scans a line for the rows of all of them at once. Only read afterwards, so
// any number of readers can share it; each keeps its own scratch space.
class Classifier {
public:
    Classifier(std::span<const VersionTables* const> tableSets, MatchEngine engine);

    [[nodiscard]] std::size_t setCount() const { return m_sets.size(); }
    [[nodiscard]] const PatternSet& patterns(std::size_t set) const { return m_sets[set]; }
    // The engine this build runs for the one asked for.
    [[nodiscard]] MatchEngine engine() const { return m_engine; }
#if ZEFA_PREFILTER
    // Null with the plain engine.
    [[nodiscard]] const LinePrefilter* prefilter() const {
        return m_prefilter ? &*m_prefilter : nullptr;
    }
#endif

private:
    MatchEngine m_engine;
    std::vector<PatternSet> m_sets;
#if ZEFA_PREFILTER
    std::optional<LinePrefilter> m_prefilter;
#endif
};

}  // namespace zefa
