#include <gtest/gtest.h>

#include "desktop/core/StartupArguments.h"

namespace zefa::desktop {
namespace {

namespace fs = std::filesystem;

TEST(CommandLine, OnlyDashArgumentsAreOptionsAndQtKeepsItsValues) {
    const auto parse = [](std::vector<const char*> arguments) {
        return parseStartupArguments(arguments);
    };
    EXPECT_FALSE(parse({}).logFile);
    EXPECT_EQ(parse({"/logs/a.log"}).logFile, fs::path("/logs/a.log"));
    EXPECT_EQ(parse({"sub/../a.log"}).logFile, fs::current_path() / "a.log");
    EXPECT_EQ(parse({"-platform", "offscreen", "-style", "fusion", "x.log"}).logFile,
              fs::current_path() / "x.log");
    EXPECT_EQ(parse({"--platform", "offscreen"}).platform, "offscreen");
    EXPECT_EQ(parse({"-platform=minimal", "-reverse", "--", "-odd.log"}).logFile,
              fs::current_path() / "-odd.log");
    EXPECT_TRUE(parse({"x.log", "--help"}).help);
    EXPECT_TRUE(parse({"-V"}).version);
    EXPECT_FALSE(parse({"--webEngineArgs", "--remote-debugging-port=9222"}).logFile);
    EXPECT_EQ(parse({"-sync", "-qmljsdebugger=port:1", "a.log"}).usageError, "");

    const std::pair<std::vector<const char*>, std::string> wrong[] = {
        {{"--bogus", "a.log"}, "unknown option '--bogus'"},
        {{"-platform=x", "--colour=red"}, "unknown option '--colour=red'"},
        {{"a.log", "b.log"}, "only one console log can be given, not also 'b.log'"},
        {{"-style"}, "option '-style' needs a value"},
        {{""}, "an empty argument is not a console log"},
    };
    for (const auto& [arguments, problem] : wrong) EXPECT_EQ(parse(arguments).usageError, problem);
}

TEST(CommandLine, OffscreenPlatformsAndMissingDisplaysMeanNoWindowSystem) {
    ::unsetenv("QT_QPA_PLATFORM");
    ::unsetenv("WAYLAND_DISPLAY");
    ::setenv("DISPLAY", ":9", 1);
    StartupArguments arguments;
    EXPECT_EQ(findWindowTarget(arguments), WindowTarget::Screen);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    EXPECT_EQ(findWindowTarget(arguments), WindowTarget::Offscreen);
    arguments.platform = "xcb";
    EXPECT_EQ(findWindowTarget(arguments), WindowTarget::Screen) << "the option wins";
    ::unsetenv("DISPLAY");
    EXPECT_EQ(findWindowTarget(arguments), WindowTarget::None);
    arguments.platform = "minimal:enable_fonts";
    EXPECT_EQ(findWindowTarget(arguments), WindowTarget::Offscreen);
    ::unsetenv("QT_QPA_PLATFORM");
}

}  // namespace
}  // namespace zefa::desktop
