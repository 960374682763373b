#pragma once

#include <cstddef>
#include <span>
#include <type_traits>
#include <vector>

namespace zefa::season {

// Integers kept in a blob: each in its type's width, least significant byte
// first, one after the other.
template <typename Integer>
std::vector<std::byte> packIntegers(std::span<const Integer> values) {
    std::vector<std::byte> bytes;
    bytes.reserve(values.size() * sizeof(Integer));
    for (const Integer value : values) {
        const auto bits = static_cast<std::make_unsigned_t<Integer>>(value);
        for (std::size_t shift = 0; shift < 8 * sizeof(Integer); shift += 8)
            bytes.push_back(std::byte(bits >> shift));
    }
    return bytes;
}

// Reads what packIntegers wrote; entries beyond the bytes stay as they are.
template <typename Integer>
void unpackIntegers(std::span<const std::byte> bytes, std::span<Integer> values) {
    constexpr std::size_t kWidth = sizeof(Integer);
    for (std::size_t i = 0; i < values.size() && (i + 1) * kWidth <= bytes.size(); ++i) {
        std::make_unsigned_t<Integer> bits = 0;
        for (std::size_t b = kWidth; b-- > 0;)
            bits = static_cast<std::make_unsigned_t<Integer>>(
                bits << 8 | std::to_integer<std::make_unsigned_t<Integer>>(bytes[i * kWidth + b]));
        values[i] = static_cast<Integer>(bits);
    }
}

}  // namespace zefa::season
