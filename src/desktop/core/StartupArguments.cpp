#include "desktop/core/StartupArguments.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

namespace zefa::desktop {

namespace {

// Qt's options that take the next argument as their value (also written with
// two dashes, or as -option=value).
constexpr std::array<std::string_view, 15> kQtOptionsWithValue = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle", "session", "display", "geometry", "title", "name", "icon",
    "style", "stylesheet"};

// Qt's options that take no value.
constexpr std::array<std::string_view, 6> kQtFlags = {"reverse", "nograb",      "dograb",
                                                      "sync",    "widgetcount", "testability"};
// Qt's options that are only written as -option=value.
constexpr std::array<std::string_view, 1> kQtOptionsWithJoinedValue = {"qmljsdebugger"};

template <std::size_t N>
bool isOneOf(std::string_view name, const std::array<std::string_view, N>& names) {
    return std::ranges::find(names, name) != names.end();
}

// Platforms that draw nowhere: a batch run under them needs no windowing system.
constexpr std::array<std::string_view, 2> kPlatformsWithoutDisplay = {"offscreen", "minimal"};

bool isSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

}  // namespace

StartupArguments parseStartupArguments(std::span<const char* const> arguments) {
    StartupArguments parsed;
    const auto usageError = [&parsed](std::string problem) {
        if (parsed.usageError.empty()) parsed.usageError = std::move(problem);
    };
    bool optionsEnded = false;
    bool webEngineOptions = false;  // the web engine's own, after --webEngineArgs
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument.empty()) {
            usageError("an empty argument is not a console log");
            continue;
        }
        if (optionsEnded || !argument.starts_with('-')) {
            if (parsed.logFile) {
                usageError("only one console log can be given, not also '" +
                           std::string(argument) + "'");
                continue;
            }
            std::error_code ignored;
            parsed.logFile = std::filesystem::absolute(argument, ignored).lexically_normal();
            continue;
        }
        if (webEngineOptions) continue;
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--webEngineArgs") {
            webEngineOptions = true;
            continue;
        }
        const std::string_view name = argument.substr(argument.starts_with("--") ? 2 : 1);
        if (name == "help" || argument == "-h") {
            parsed.help = true;
        } else if (name == "version" || argument == "-V") {
            parsed.version = true;
        } else if (const auto equals = name.find('='); equals != std::string_view::npos) {
            const std::string_view option = name.substr(0, equals);
            if (option == "platform") parsed.platform = name.substr(equals + 1);
            if (!isOneOf(option, kQtOptionsWithValue) &&
                !isOneOf(option, kQtOptionsWithJoinedValue))
                usageError("unknown option '" + std::string(argument) + "'");
        } else if (isOneOf(name, kQtOptionsWithValue)) {
            if (i + 1 == arguments.size()) {
                usageError("option '" + std::string(argument) + "' needs a value");
            } else if (name == "platform") {
                parsed.platform = arguments[i + 1];
            }
            ++i;
        } else if (!isOneOf(name, kQtFlags)) {
            usageError("unknown option '" + std::string(argument) + "'");
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
    const bool windowSystem =
        platform.empty() || platform == "xcb" || platform.starts_with("wayland");
    if (!windowSystem || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY")) return WindowTarget::Screen;
    return WindowTarget::None;
}

}  // namespace zefa::desktop
