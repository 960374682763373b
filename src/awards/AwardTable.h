#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>

#include "model/PlayerRecord.h"

namespace zefa {

inline constexpr std::int32_t kAwardCount = 18;

// One row of the fixed award catalogue.
struct AwardDefinition {
    std::string_view awardName;
    std::int32_t sortKey;                   // the statistic, as a SortKey
    std::int32_t sortIndex;                 // array entry for the array keys, else 0
    bool descending;                        // true: the highest value wins
    bool allowZero;                         // a winning value of 0 still wins
    std::array<std::string_view, 3> parts;  // "WINNER", "DATA" or literal text
    std::string_view singular;              // appended when the value is exactly 1
    std::string_view plural;                // appended for every other value
};

// The 18 awards in catalogue order.
[[nodiscard]] const std::array<AwardDefinition, kAwardCount>& awardCatalogue();

// The catalogue with this run's selection and results. An index outside the
// catalogue reads as an unselected award without a result and changes nothing.
class AwardTable {
public:
    AwardTable();  // every award selected, no results yet

    [[nodiscard]] std::string_view awardName(std::int32_t i) const;
    [[nodiscard]] bool selected(std::int32_t i) const;
    void setSelected(std::int32_t i, bool selected);
    // The winners, message and value; empty when the award has no winner.
    [[nodiscard]] const std::string& result(std::int32_t i) const;
    // Shown on the page: selected and won by somebody.
    [[nodiscard]] bool shown(std::int32_t i) const;

    // Computes every selected award in catalogue order; each sorts the list.
    void ComputeAwards(std::list<PlayerRecord>& players);
    void ComputeAward(std::list<PlayerRecord>& players, std::int32_t i);

private:
    std::array<bool, kAwardCount> m_selected{};
    std::array<std::string, kAwardCount> m_result{};
};

}  // namespace zefa
