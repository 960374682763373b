#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zefa {

// The pairs of adjacent bytes of one line. A text with a pair the line lacks
// cannot occur in it, so most patterns are ruled out without a search: where
// no multi-pattern scan stands in front of the matcher (a build without
// Vectorscan, the browser), that search is most of the work of a line.
class LineBigrams {
public:
    // Forgets the previous line's pairs.
    void assign(std::string_view line) {
        for (const std::uint16_t key : m_keys)
            m_bits[key >> 6] &= ~(std::uint64_t{1} << (key & 63));
        m_keys.clear();
        for (std::size_t i = 1; i < line.size(); ++i) {
            const std::uint16_t k = key(line[i - 1], line[i]);
            std::uint64_t& word = m_bits[k >> 6];
            const std::uint64_t bit = std::uint64_t{1} << (k & 63);
            if (!(word & bit)) m_keys.push_back(k);
            word |= bit;
        }
    }

    // False when some pair of `text` is not in the line; a text shorter than
    // two bytes may always occur.
    [[nodiscard]] bool mayContain(std::string_view text) const {
        for (std::size_t i = 1; i < text.size(); ++i) {
            const std::uint16_t k = key(text[i - 1], text[i]);
            if (!(m_bits[k >> 6] & (std::uint64_t{1} << (k & 63)))) return false;
        }
        return true;
    }

private:
    static std::uint16_t key(char first, char second) {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(first) << 8 |
                                          static_cast<unsigned char>(second));
    }

    std::array<std::uint64_t, 1024> m_bits{};  // one bit for each of the 65536 pairs
    std::vector<std::uint16_t> m_keys;         // the pairs set, to clear them again
};

}  // namespace zefa
