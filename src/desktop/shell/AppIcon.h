#pragma once

#include <QIcon>

namespace zefa::desktop {

// The program's own icon, drawn to scale at any size.
[[nodiscard]] QIcon appIcon();

}  // namespace zefa::desktop
