#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>

#include "desktop/core/PageCopy.h"
#include "desktop/core/RecentFileList.h"
#include "desktop/core/StartupArguments.h"
#include "desktop/core/StatsDocument.h"
#include "desktop/core/TemporaryPage.h"
#include "support/ScratchDir.h"

namespace zefa::desktop {
namespace {

namespace fs = std::filesystem;

TEST(RecentFiles, NewestFirstWithoutDuplicatesAndAtMostFour) {
    RecentFileList files({"/b", "", "/a", "/b", "/c", "/d", "/e"});
    EXPECT_EQ(files.entries(), (std::vector<std::string>{"/b", "/a", "/c", "/d"}));
    files.add("/c");
    EXPECT_EQ(files.entries(), (std::vector<std::string>{"/c", "/b", "/a", "/d"}));
    files.add("/new");
    EXPECT_EQ(files.entries(), (std::vector<std::string>{"/new", "/c", "/b", "/a"}));
}

// The page file is the program's own: exclusive, owner-only, gone with it.
TEST(TemporaryPageFile, IsCreatedForTheOwnerAloneAndRemovedAfterwards) {
    const test::ScratchDir tmp;
    ::setenv("TMPDIR", tmp.path().c_str(), 1);
    fs::path path;
    {
        std::error_code error;
        const auto page = TemporaryPage::create(".html", error);
        ASSERT_TRUE(page) << error.message();
        path = page->path();
        EXPECT_EQ(path.parent_path(), tmp.path());
        EXPECT_TRUE(path.filename().string().starts_with("zefastats"));
        EXPECT_EQ(path.extension(), ".html");
        struct stat info {};
        ASSERT_EQ(::lstat(path.c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        const auto second = TemporaryPage::create(".html", error);
        EXPECT_NE(second->path(), path);
    }
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::is_empty(tmp.path()));

    ::setenv("TMPDIR", (tmp / "missing").c_str(), 1);
    std::error_code error;
    EXPECT_FALSE(TemporaryPage::create("", error));
    EXPECT_TRUE(error);
    ::unsetenv("TMPDIR");
}

TEST(PageCopying, CopiesByteForByteAndReplacesTheTargetOnlyWhenComplete) {
    const test::ScratchDir dir;
    std::string page(2500, '\0');
    for (std::size_t i = 0; i < page.size(); ++i) page[i] = static_cast<char>(i * 7);
    test::writeFile(dir / "page", page);
    test::writeFile(dir / "real.html", "earlier");
    fs::create_symlink("real.html", dir / "link.html");

    EXPECT_TRUE(copyPage(dir / "page", (dir / "link.html").string()).ok());
    EXPECT_EQ(test::readFile(dir / "real.html"), page);
    EXPECT_TRUE(fs::is_symlink(dir / "link.html"));

    const PageCopyResult unreadable = copyPage(dir / "missing", (dir / "real.html").string());
    EXPECT_EQ(unreadable.readError, std::errc::no_such_file_or_directory);
    const PageCopyResult unwritable = copyPage(dir / "page", (dir / "no" / "x.html").string());
    EXPECT_EQ(unwritable.writeError, std::errc::no_such_file_or_directory);
    EXPECT_EQ(test::readFile(dir / "real.html"), page);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 3) << "no stray files";
}

TEST(Document, EveryRunStartsAfreshIntoTheSamePageFile) {
    const test::ScratchDir dir;
    test::writeFile(dir / "one.log", "Ann was railed by Tom\nAnn was railed by Tom\n");
    test::writeFile(dir / "two.log", "Bob was railed by Eve\n");
    test::writeFile(dir / "list.thm", "<= NUMLINES =>\n<= PLAYERLOOP =>\n<= STRIPPEDNAME =>\n<= ENDLOOP =>\n");
    StatsDocument document(0);
    ASSERT_FALSE(document.reservePage(".html"));
    const fs::path page = document.pagePath();
    document.setThemeFile((dir / "list.thm").string());
    GenerationSettings settings;

    document.setLogFile((dir / "one.log").string());
    EXPECT_TRUE(document.RunGeneration(settings).ok());
    EXPECT_EQ(test::readFile(page), "2AnnTom");
    document.setLogFile((dir / "two.log").string());
    settings.gameVersion = 3;
    EXPECT_TRUE(document.RunGeneration(settings).ok());
    EXPECT_EQ(document.pagePath(), page);
    EXPECT_EQ(test::readFile(page), "1BobEve");
    EXPECT_EQ(document.generator()->stats().players.size(), 2u);
    EXPECT_EQ(document.generator()->gameVersion(), 1) << "only 2 is the newer set";

    document.setThemeFile((dir / "missing.thm").string());
    const RunResult failed = document.RunGeneration(settings);
    EXPECT_EQ(failed.page, PageWriter::PageResult::ThemeUnreadable);
    EXPECT_EQ(failed.pageProblem(), "No such file or directory");
    EXPECT_EQ(test::readFile(page), "") << "no earlier page may survive a failed run";
}

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
