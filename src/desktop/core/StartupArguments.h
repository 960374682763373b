#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace zefa::desktop {

// What the desktop program's command line asks for. Only arguments that begin
// with "-" are options: ours, Qt's, which are left to Qt, and after
// "--webEngineArgs" the web engine's. The one other argument is the console
// log of a batch run; "--" makes the next argument a file name whatever it is.
struct StartupArguments {
    std::optional<std::filesystem::path> logFile;  // absolute
    bool help = false;
    bool version = false;
    std::string platform;  // the value of Qt's -platform option, if given
    // An unknown option, a second file name or an empty argument, in words.
    std::string usageError;
};

// `arguments` without the program name.
[[nodiscard]] StartupArguments parseStartupArguments(std::span<const char* const> arguments);

enum class WindowTarget {
    Screen,     // windows appear on a screen
    Offscreen,  // Qt draws nowhere (offscreen, minimal): windows work but nobody sees them
    None,       // the window system's display is not set: no window can be made
};

// Where windows would go, from the -platform option, QT_QPA_PLATFORM, DISPLAY
// and WAYLAND_DISPLAY.
[[nodiscard]] WindowTarget findWindowTarget(const StartupArguments& arguments);

}  // namespace zefa::desktop
