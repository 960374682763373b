#pragma once

#include <array>
#include <optional>

namespace zefa::desktop {

// Caps Lock, Num Lock and Scroll Lock, from the X11 display the program runs
// on; nothing when it runs on no X11 display. Kept apart from Qt's headers,
// whose names the X11 headers' macros would break.
[[nodiscard]] std::optional<std::array<bool, 3>> x11LockKeys();

}  // namespace zefa::desktop
