#include "app/StartupArguments.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

namespace zefa {

namespace {

// Qt's options that take the next argument as their value (also written with
// two dashes, or as -option=value).
constexpr std::array<std::string_view, 15> kQtOptionsWithValue = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle", "session", "display", "geometry", "title", "name", "icon",
    "style", "stylesheet"};

// Platforms that draw nowhere: a batch run under them needs no windowing system.
constexpr std::array<std::string_view, 2> kPlatformsWithoutDisplay = {"offscreen", "minimal"};

bool isSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

}  // namespace

StartupArguments parseStartupArguments(std::span<const char* const> arguments) {
    StartupArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (optionsEnded || !argument.starts_with('-')) {
            if (!parsed.logFile) {
                std::error_code ignored;
                parsed.logFile = std::filesystem::absolute(argument, ignored).lexically_normal();
            }
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        std::string_view name = argument.substr(argument.starts_with("--") ? 2 : 1);
        if (name == "help" || argument == "-h") parsed.help = true;
        if (name == "version" || argument == "-V") parsed.version = true;
        if (name.find('=') != std::string_view::npos) {
            if (name.starts_with("platform=")) parsed.platform = name.substr(name.find('=') + 1);
            continue;
        }
        const bool takesValue = std::ranges::find(kQtOptionsWithValue, name) !=
                                kQtOptionsWithValue.end();
        if (takesValue && i + 1 < arguments.size()) {
            if (name == "platform") parsed.platform = arguments[i + 1];
            ++i;
        }
    }
    return parsed;
}

WindowTarget findWindowTarget(const StartupArguments& arguments) {
    std::string platform = arguments.platform;
    if (platform.empty() && isSet("QT_QPA_PLATFORM")) platform = std::getenv("QT_QPA_PLATFORM");
    platform = platform.substr(0, platform.find(':'));  // drop the platform's own options
    if (std::ranges::find(kPlatformsWithoutDisplay, platform) != kPlatformsWithoutDisplay.end())
        return WindowTarget::Offscreen;
    const bool windowSystem = platform.empty() || platform == "xcb" || platform.starts_with("wayland");
    if (!windowSystem || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY")) return WindowTarget::Screen;
    return WindowTarget::None;
}

}  // namespace zefa
