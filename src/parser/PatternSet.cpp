#include "parser/PatternSet.h"

namespace zefa {

namespace {

std::string_view patternOf(std::string_view pattern) { return pattern; }
template <typename Row>
std::string_view patternOf(const Row& row) {
    return row.pattern;
}

template <typename Row>
std::vector<CompiledPattern> compileTable(std::span<const Row> rows) {
    std::vector<CompiledPattern> compiled;
    compiled.reserve(rows.size());
    for (const Row& row : rows) compiled.emplace_back(patternOf(row));
    return compiled;
}

}  // namespace

PatternSet::PatternSet(const VersionTables& tables)
    : chatFilter(kChatFilterPattern),
      chatLine(kChatLinePattern),
      selfGrenade(kSelfGrenadePattern),
      rename(kRenamePattern),
      ownerlessSentry(kOwnerlessSentryPattern),
      kills(compileTable(tables.kills)),
      flagPickups(compileTable(flagPickupTable())),
      flagCaptures(compileTable(flagCaptureTable())),
      flagReturns(compileTable(flagReturnTable())),
      suicides(compileTable(tables.suicides)),
      environmentDeaths(compileTable(tables.environmentDeaths)),
      defenses(compileTable(defenseTable())) {}

}  // namespace zefa
