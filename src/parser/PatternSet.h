#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "parser/match/CompiledPattern.h"
#include "parser/PatternTables.h"

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

    [[nodiscard]] const VersionTables& tables() const { return *tables_; }
    [[nodiscard]] std::span<const CompiledPattern> all() const { return all_; }
    // One past the last slot.
    [[nodiscard]] std::size_t endSlot() const { return firstSlot_ + all_.size(); }

    [[nodiscard]] const CompiledPattern& chatFilter() const { return all_[0]; }
    [[nodiscard]] const CompiledPattern& chatLine() const { return all_[1]; }
    [[nodiscard]] const CompiledPattern& selfGrenade() const { return all_[2]; }
    [[nodiscard]] const CompiledPattern& rename() const { return all_[3]; }
    [[nodiscard]] const CompiledPattern& ownerlessSentry() const { return all_[4]; }
    [[nodiscard]] std::span<const CompiledPattern> kills() const { return kills_; }
    [[nodiscard]] std::span<const CompiledPattern> flagPickups() const { return flagPickups_; }
    [[nodiscard]] std::span<const CompiledPattern> flagCaptures() const { return flagCaptures_; }
    [[nodiscard]] std::span<const CompiledPattern> flagReturns() const { return flagReturns_; }
    [[nodiscard]] std::span<const CompiledPattern> suicides() const { return suicides_; }
    [[nodiscard]] std::span<const CompiledPattern> environmentDeaths() const {
        return environmentDeaths_;
    }
    [[nodiscard]] std::span<const CompiledPattern> defenses() const { return defenses_; }

private:
    const VersionTables* tables_;
    std::size_t firstSlot_;
    std::vector<CompiledPattern> all_;
    std::span<const CompiledPattern> kills_;
    std::span<const CompiledPattern> flagPickups_;
    std::span<const CompiledPattern> flagCaptures_;
    std::span<const CompiledPattern> flagReturns_;
    std::span<const CompiledPattern> suicides_;
    std::span<const CompiledPattern> environmentDeaths_;
    std::span<const CompiledPattern> defenses_;
};

}  // namespace zefa
