#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace zefa {

// The pattern slots a prefilter scan found possible on one line. A slot
// beyond the capacity is always possible, so a pattern the set cannot hold
// is still tried.
class CandidateSet {
public:
    static constexpr std::size_t kCapacity = 256;

    void fill() { m_words.fill(~std::uint64_t{0}); }
    void add(std::size_t slot) {
        if (slot < kCapacity) m_words[slot / kWordBits] |= bit(slot);
    }
    CandidateSet& operator|=(const CandidateSet& other) {
        for (std::size_t w = 0; w < m_words.size(); ++w) m_words[w] |= other.m_words[w];
        return *this;
    }
    [[nodiscard]] bool mayMatch(std::size_t slot) const {
        return slot >= kCapacity || (m_words[slot / kWordBits] & bit(slot)) != 0;
    }
    // The first possible slot from `first` up to `end`; `end` when there is none.
    [[nodiscard]] std::size_t next(std::size_t first, std::size_t end) const {
        while (first < end && first < kCapacity) {
            const std::uint64_t from = m_words[first / kWordBits] >> (first % kWordBits);
            if (from != 0) return std::min(end, first + std::countr_zero(from));
            first = (first / kWordBits + 1) * kWordBits;
        }
        return std::min(first, end);
    }

private:
    static constexpr std::size_t kWordBits = 64;
    static constexpr std::uint64_t bit(std::size_t slot) {
        return std::uint64_t{1} << (slot % kWordBits);
    }

    std::array<std::uint64_t, kCapacity / kWordBits> m_words{};
};

}  // namespace zefa
