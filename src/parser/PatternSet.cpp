#include "parser/PatternSet.h"

#include <string_view>

namespace zefa {

namespace {

std::string_view patternOf(std::string_view pattern) { return pattern; }
template <typename Row>
std::string_view patternOf(const Row& row) {
    return row.pattern;
}

// Where one table's rows lie in the list of all patterns.
struct Rows {
    std::size_t first = 0;
    std::size_t count = 0;
};

}  // namespace

PatternSet::PatternSet(const VersionTables& tables, std::size_t firstSlot)
    : m_tables(&tables), m_firstSlot(firstSlot) {
    std::vector<std::string_view> texts = {kChatFilterPattern, kChatLinePattern,
                                           kSelfGrenadePattern, kRenamePattern,
                                           kOwnerlessSentryPattern};
    auto append = [&texts](const auto& rows) {
        const Rows placed{texts.size(), rows.size()};
        for (const auto& row : rows) texts.push_back(patternOf(row));
        return placed;
    };
    const Rows kills = append(tables.kills);
    const Rows pickups = append(flagPickupTable());
    const Rows captures = append(flagCaptureTable());
    const Rows returns = append(flagReturnTable());
    const Rows suicides = append(tables.suicides);
    const Rows environment = append(tables.environmentDeaths);
    const Rows defenses = append(defenseTable());

    m_all.reserve(texts.size());
    for (std::string_view text : texts) m_all.emplace_back(text, firstSlot + m_all.size());
    auto view = [this](Rows rows) { return all().subspan(rows.first, rows.count); };
    m_kills = view(kills);
    m_flagPickups = view(pickups);
    m_flagCaptures = view(captures);
    m_flagReturns = view(returns);
    m_suicides = view(suicides);
    m_environmentDeaths = view(environment);
    m_defenses = view(defenses);
}

}  // namespace zefa
