#pragma once

#include <vector>

#include "parser/CompiledPattern.h"
#include "parser/PatternTables.h"

namespace zefa {

// Every pattern a log is classified with, compiled once for the whole log;
// each table keeps the order of its rows, so index i is the table's row i.
struct PatternSet {
    explicit PatternSet(const VersionTables& tables);

    CompiledPattern chatFilter;
    CompiledPattern chatLine;
    CompiledPattern selfGrenade;
    CompiledPattern rename;
    CompiledPattern ownerlessSentry;
    std::vector<CompiledPattern> kills;
    std::vector<CompiledPattern> flagPickups;
    std::vector<CompiledPattern> flagCaptures;
    std::vector<CompiledPattern> flagReturns;
    std::vector<CompiledPattern> suicides;
    std::vector<CompiledPattern> environmentDeaths;
    std::vector<CompiledPattern> defenses;
};

}  // namespace zefa
