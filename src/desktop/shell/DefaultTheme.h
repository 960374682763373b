#pragma once

#include <string>

namespace zefa::desktop {

// The built-in theme as installed beside the program (share/zefastats2/themes
// under the prefix of its bin folder) or, run from the build folder, in the
// source tree; empty when neither is there. Needs a QCoreApplication.
[[nodiscard]] std::string defaultThemeFile();

}  // namespace zefa::desktop
