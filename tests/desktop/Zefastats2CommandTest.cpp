#include <gtest/gtest.h>

#include <QSettings>
#include <fstream>

#include "desktop/settings/SettingsStore.h"
#include "support/RunProgram.h"

namespace zefa::desktop {
namespace {

namespace fs = std::filesystem;

const std::string kBeta2Log = std::string(ZEFA_EXAMPLES_DIR) + "/beta2-ctf.log";
const std::string kNeedsInteractiveRun =
    "You must first run this program in an interactive mode before you can specify files on the "
    "commandline.  Run the program with no commandline options and save one stats file.";

// Each test has its own settings folder, temporary directory and files, and
// runs zefastats2 with no display at all.
class BatchMode : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir / "config" / "Zefa Stats");
        fs::create_directory(dir / "tmp");
        // Every tag but DURATION, whose run time differs between two runs.
        std::ifstream builtIn(std::string(ZEFA_THEMES_DIR) + "/default.thm");
        std::ofstream theme(themeFile);
        for (std::string line; std::getline(builtIn, line);)
            if (line.find("<= DURATION =>") == std::string::npos) theme << line << '\n';
    }

    [[nodiscard]] QSettings store() const {
        return {QString::fromStdString((dir / "config/Zefa Stats/Zefa Stats 2.conf").string()),
                QSettings::IniFormat};
    }
    void storeSettings(const GenerationSettings& settings) const {
        QSettings written = store();
        SaveSettings(settings, written);
    }
    [[nodiscard]] GenerationSettings savedOnce() const {
        GenerationSettings settings;
        settings.themeFile = themeFile;
        settings.outFile = outFile;
        settings.logFile = "/logs/interactive.log";
        settings.gameVersion = 2;
        settings.detectVersion = false;
        settings.awardSelected[3] = 0;
        return settings;
    }

    test::CommandResult runBatch(const std::vector<std::string>& args) const {
        return test::runProgram(
            ZEFASTATS2_BINARY, args,
            {"-DISPLAY", "-WAYLAND_DISPLAY", "-QT_QPA_PLATFORM",
             "XDG_CONFIG_HOME=" + (dir / "config").string(), "TMPDIR=" + (dir / "tmp").string(),
             "SOURCE_DATE_EPOCH=1000000000", "TZ=UTC"});
    }

    const test::ScratchDir dir;
    const std::string themeFile = (dir / "stats.thm").string();
    const std::string outFile = (dir / "saved.html").string();
};

// The page is the one zefastats writes from the same inputs, and the run
// changes no setting but the recent-file list.
TEST_F(BatchMode, WritesTheStoredPageWithTheStoredChoicesAndChangesNoSetting) {
    const GenerationSettings stored = savedOnce();
    storeSettings(stored);
    const test::CommandResult batch = runBatch({kBeta2Log});
    ASSERT_EQ(batch.exitCode, 0) << batch.err;
    EXPECT_EQ(batch.out + batch.err, "");

    const std::string reference = (dir / "reference.html").string();
    const test::CommandResult command =
        test::runProgram(ZEFASTATS_BINARY,
                         {kBeta2Log, "-t", themeFile, "-g", "2", "-a",
                          "0,1,2,4,5,6,7,8,9,10,11,12,13,14,15,16,17", "-o", reference},
                         {"SOURCE_DATE_EPOCH=1000000000", "TZ=UTC"});
    ASSERT_EQ(command.exitCode, 0) << command.err;
    EXPECT_EQ(test::readFile(outFile), test::readFile(reference));

    QSettings after = store();
    EXPECT_EQ(LoadSettings(after), stored);
    EXPECT_EQ(loadRecentFiles(after).entries(), std::vector<std::string>{outFile});
    EXPECT_TRUE(fs::is_empty(dir / "tmp")) << "the page file is removed when the run ends";
}

// The game empties its log at every start: a nightly run then keeps the page.
TEST_F(BatchMode, AnEmptyLogLeavesTheSavedPageAndSaysSo) {
    storeSettings(savedOnce());
    test::writeFile(outFile, "earlier page");
    test::writeFile(dir / "empty.log", "");
    const std::string log = (dir / "empty.log").string();
    const test::CommandResult result = runBatch({log});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "zefastats2: The console log " + log + " is empty; the stats page " +
                              outFile + " was left as it was.\n");
    EXPECT_EQ(test::readFile(outFile), "earlier page");
}

// Detection reads each log with its own message set; a fixed version that
// the log does not fit is kept, with a notice.
TEST_F(BatchMode, TheMessageSetUsedIsToldWhenDetectedOrWorseThanTheOther) {
    const struct {
        bool detect;
        std::int32_t version;
        std::string told;
    } cases[] = {
        {true, 1, "was read as Zefa Beta2 or Newer (detected from the log)."},
        {false, 1, "reads better as Zefa Beta2 or Newer; the stored game version was used."},
    };
    for (const auto& c : cases) {
        GenerationSettings settings = savedOnce();
        settings.detectVersion = c.detect;
        settings.gameVersion = c.version;
        storeSettings(settings);
        const test::CommandResult result = runBatch({kBeta2Log});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.err, "zefastats2: The console log " + kBeta2Log + " " + c.told + "\n");
    }
}

// Whatever fails is told with the file and the reason, and the page saved
// earlier stays as it was. A theme and a page file are stored by the first
// interactive save; without either there is nothing to run.
TEST_F(BatchMode, FailuresNameTheFileAndLeaveTheSavedPage) {
    test::writeFile(outFile, "earlier page");
    const std::string missingLog = (dir / "missing.log").string();
    const std::string missingTheme = (dir / "missing.thm").string();
    const std::string unwritable = (dir / "no-folder" / "page.html").string();
    const struct {
        std::string log, theme, out, told;
    } failures[] = {
        {kBeta2Log, "", outFile, kNeedsInteractiveRun},
        {kBeta2Log, themeFile, "", kNeedsInteractiveRun},
        {missingLog, themeFile, outFile,
         "The console log " + missingLog + " could not be read: No such file or directory."},
        {dir.path().string(), themeFile, outFile,
         "The console log " + dir.path().string() + " could not be read: Is a directory."},
        {kBeta2Log, missingTheme, outFile,
         "The theme file " + missingTheme + " could not be read: No such file or directory."},
        {kBeta2Log, themeFile, unwritable,
         "The stats page " + unwritable + " could not be written: No such file or directory."},
    };
    for (const auto& failure : failures) {
        GenerationSettings settings = savedOnce();
        settings.themeFile = failure.theme;
        settings.outFile = failure.out;
        storeSettings(settings);
        const test::CommandResult result = runBatch({failure.log});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, "zefastats2: " + failure.told + "\n");
        QSettings after = store();
        EXPECT_TRUE(loadRecentFiles(after).entries().empty());
    }
    EXPECT_EQ(test::readFile(outFile), "earlier page");
    EXPECT_TRUE(fs::is_empty(dir / "tmp"));
}

TEST_F(BatchMode, RelativeLogNamesAndInformationalOptions) {
    storeSettings(savedOnce());
    const test::CommandResult relative = test::runProgram(
        "/bin/sh",
        {"-c", "cd " + test::shellQuote(ZEFA_EXAMPLES_DIR) + " && exec " +
                   test::shellQuote(ZEFASTATS2_BINARY) + " beta2-ctf.log"},
        {"-DISPLAY", "-WAYLAND_DISPLAY", "XDG_CONFIG_HOME=" + (dir / "config").string()});
    EXPECT_EQ(relative.exitCode, 0) << relative.err;
    EXPECT_NE(test::readFile(outFile).find("Fragmaster Award"), std::string::npos);

    EXPECT_EQ(runBatch({"--version"}).out, "zefastats2 2.1.5\n");
    const test::CommandResult help = runBatch({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: zefastats2 [LOGFILE]\n"));

    fs::remove(outFile);
    const test::CommandResult wrong = runBatch({kBeta2Log, "second.log"});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(
        wrong.err.starts_with("zefastats2: only one console log can be given, not also "
                              "'second.log'\n\nUsage: zefastats2 [LOGFILE]\n"))
        << wrong.err;
    EXPECT_FALSE(fs::exists(outFile)) << "a usage error runs nothing";
}

}  // namespace
}  // namespace zefa::desktop
