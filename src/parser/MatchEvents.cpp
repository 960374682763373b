#include "parser/MatchEvents.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace zefa {

std::uint64_t eventLineHash(std::string_view bytes) {
    // Eight bytes a step, each step a multiply and a shift: a hash per event
    // line must not slow the reading down.
    const auto mix = [](std::uint64_t a, std::uint64_t b) {
        const std::uint64_t product = a * b;
        return product ^ (product >> 29);
    };
    constexpr std::uint64_t kSeed = 0xa0761d6478bd642fULL;
    constexpr std::uint64_t kStep = 0xe7037ed1a0b428dbULL;
    std::uint64_t hash = kSeed ^ bytes.size();
    while (!bytes.empty()) {
        std::uint64_t word = 0;
        const std::size_t take = std::min<std::size_t>(8, bytes.size());
        if (std::endian::native == std::endian::little && take == 8) {
            std::memcpy(&word, bytes.data(), 8);  // the word the loop below makes, in one load
        } else {
            for (std::size_t i = 0; i < take; ++i)
                word |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
        }
        hash = mix(hash ^ word, kStep);
        bytes.remove_prefix(take);
    }
    return mix(hash, kSeed);
}

}  // namespace zefa
