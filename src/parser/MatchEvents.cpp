#include "parser/MatchEvents.h"

#include "parser/LogParser.h"

namespace zefa {

namespace {

constexpr bool isGameEvent(LineRule rule) {
    switch (rule) {
        case LineRule::Kill:
        case LineRule::FlagPickup:
        case LineRule::FlagCapture:
        case LineRule::FlagReturn:
        case LineRule::Suicide:
        case LineRule::EnvironmentDeath:
        case LineRule::Defense:
            return true;
        default:
            return false;
    }
}

}  // namespace

void MatchEvents::note(LineRule rule, std::string_view line, std::string_view first,
                       std::string_view second) {
    if (isGameEvent(rule)) lines.push_back(fnv1a64(line));
    if (rule == LineRule::Rename) renames.emplace_back(first, second);
}

std::uint64_t fnv1a64(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

}  // namespace zefa
