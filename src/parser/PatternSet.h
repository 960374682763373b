#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "parser/PatternTables.h"
#include "parser/match/CompiledPattern.h"

namespace zefa {

// Every pattern a log is classified with, compiled once for the whole log.
// The patterns lie in one list whose order gives their slots, counted from
// `firstSlot`; each table is a view of that list in the order of its rows,
// so index i is the table's row i.
class PatternSet {
public:
    explicit PatternSet(const VersionTables& tables, std::size_t firstSlot = 0);
    // The views point into the list, which a move keeps and a copy would not.
    PatternSet(PatternSet&&) = default;
    PatternSet(const PatternSet&) = delete;
    PatternSet& operator=(const PatternSet&) = delete;

    [[nodiscard]] const VersionTables& tables() const { return *m_tables; }
    [[nodiscard]] std::span<const CompiledPattern> all() const { return m_all; }
    // One past the last slot.
    [[nodiscard]] std::size_t endSlot() const { return m_firstSlot + m_all.size(); }

    [[nodiscard]] const CompiledPattern& chatFilter() const { return m_all[0]; }
    [[nodiscard]] const CompiledPattern& chatLine() const { return m_all[1]; }
    [[nodiscard]] const CompiledPattern& selfGrenade() const { return m_all[2]; }
    [[nodiscard]] const CompiledPattern& rename() const { return m_all[3]; }
    [[nodiscard]] const CompiledPattern& ownerlessSentry() const { return m_all[4]; }
    [[nodiscard]] std::span<const CompiledPattern> kills() const { return m_kills; }
    [[nodiscard]] std::span<const CompiledPattern> flagPickups() const { return m_flagPickups; }
    [[nodiscard]] std::span<const CompiledPattern> flagCaptures() const { return m_flagCaptures; }
    [[nodiscard]] std::span<const CompiledPattern> flagReturns() const { return m_flagReturns; }
    [[nodiscard]] std::span<const CompiledPattern> suicides() const { return m_suicides; }
    [[nodiscard]] std::span<const CompiledPattern> environmentDeaths() const {
        return m_environmentDeaths;
    }
    [[nodiscard]] std::span<const CompiledPattern> defenses() const { return m_defenses; }

private:
    const VersionTables* m_tables;
    std::size_t m_firstSlot;
    std::vector<CompiledPattern> m_all;
    std::span<const CompiledPattern> m_kills;
    std::span<const CompiledPattern> m_flagPickups;
    std::span<const CompiledPattern> m_flagCaptures;
    std::span<const CompiledPattern> m_flagReturns;
    std::span<const CompiledPattern> m_suicides;
    std::span<const CompiledPattern> m_environmentDeaths;
    std::span<const CompiledPattern> m_defenses;
};

}  // namespace zefa
