#include "season/ClosestKeys.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace zefa::season {

std::size_t editDistance(std::string_view a, std::string_view b) {
    // One row of the table at a time: row[j] is the distance of a's prefix
    // so far to b's first j bytes.
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::vector<std::string> closestKeys(std::string_view key, std::vector<std::string> known,
                                     std::size_t count) {
    std::vector<std::pair<std::size_t, std::string>> ranked;
    ranked.reserve(known.size());
    for (std::string& candidate : known)
        ranked.emplace_back(editDistance(key, candidate), std::move(candidate));
    count = std::min(count, ranked.size());
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(count),
                      ranked.end());
    std::vector<std::string> closest;
    for (std::size_t i = 0; i < count; ++i) closest.push_back(std::move(ranked[i].second));
    return closest;
}

}  // namespace zefa::season
