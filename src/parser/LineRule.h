#pragma once

#include <cstddef>

namespace zefa {

// The rule that took a line, in the order the rules are tried. A rule takes
// a line even when it then drops it (chat before the match started, a rename
// of an unknown player, an ownerless sentry). None: nothing took it.
enum class LineRule {
    None,
    Chat,
    SelfGrenade,
    Rename,
    OwnerlessSentry,
    Kill,
    FlagPickup,
    FlagCapture,
    FlagReturn,
    Suicide,
    EnvironmentDeath,
    Defense,
};
inline constexpr std::size_t kLineRuleCount = 12;

}  // namespace zefa
