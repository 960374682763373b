#include <gtest/gtest.h>

#include <QSettings>
#include <cstdlib>

#include "desktop/settings/SessionSettings.h"
#include "desktop/settings/SettingsStore.h"
#include "support/ScratchDir.h"

namespace zefa::desktop {
namespace {

// Qt reads XDG_CONFIG_HOME once per process: every store of these tests lives
// in one scratch folder, emptied before each test.
class ScratchConfigHome : public testing::Environment {
public:
    void SetUp() override { ::setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1); }
    static const test::ScratchDir& dir() { return dir_; }

private:
    static inline test::ScratchDir dir_;
};
const auto* const kConfigHome = testing::AddGlobalTestEnvironment(new ScratchConfigHome);

class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove_all(storeFolder);
        std::filesystem::create_directories(storeFolder);
    }
    void writeStore(const std::string& text) const { test::writeFile(storeFile, text); }
    [[nodiscard]] std::string storeText() const { return test::readFile(storeFile); }

    const std::filesystem::path storeFolder = ScratchConfigHome::dir() / "Zefa Stats";
    const std::filesystem::path storeFile = storeFolder / "Zefa Stats 2.conf";
};

TEST_F(SettingsStoreTest, AnEmptyStoreGivesTheDefaultsAndExitWritesAll23Values) {
    SessionSettings session;
    EXPECT_EQ(session.generation, GenerationSettings{});
    EXPECT_TRUE(session.recentFiles.entries().empty());
    EXPECT_TRUE(session.save());

    const QSettings written(QString::fromStdString(storeFile.string()), QSettings::IniFormat);
    QStringList expected = {"Theme", "Outfile", "Logfile", "ZefaVersion", "DetectVersion"};
    for (int i = 0; i < 18; ++i) expected << QStringLiteral("Award%1").arg(i);
    QStringList keys = written.allKeys();
    keys.sort();
    expected.sort();
    EXPECT_EQ(keys, expected) << "top level only, no recent files yet";
    EXPECT_EQ(written.value("ZefaVersion").toString(), "1");
    EXPECT_EQ(written.value("DetectVersion").toString(), "true");
    EXPECT_EQ(written.value("Theme").toString(), "");
}

TEST_F(SettingsStoreTest, ValuesAndRecentFilesSurviveARoundTrip) {
    {
        SessionSettings session;
        session.generation.themeFile = "/themes/a, b.thm";
        session.generation.outFile = "/pages/\xC3\xA9t\xC3\xA9.html";
        session.generation.logFile = "/logs/q.log";
        session.generation.gameVersion = 2;
        session.generation.detectVersion = false;
        session.generation.awardSelected[5] = 0;
        for (const char* page : {"/a.html", "/b.html", "/c.html", "/d.html", "/e.html"})
            session.recentFiles.add(page);
        ASSERT_TRUE(session.save());
    }
    const SessionSettings reopened;
    EXPECT_EQ(reopened.generation.themeFile, "/themes/a, b.thm");
    EXPECT_EQ(reopened.generation.outFile, "/pages/\xC3\xA9t\xC3\xA9.html");
    EXPECT_EQ(reopened.generation.logFile, "/logs/q.log");
    EXPECT_EQ(reopened.generation.gameVersion, 2);
    EXPECT_FALSE(reopened.generation.detectVersion);
    EXPECT_EQ(reopened.generation.awardSelected[5], 0);
    EXPECT_EQ(reopened.recentFiles.entries(),
              (std::vector<std::string>{"/e.html", "/d.html", "/c.html", "/b.html"}));
    EXPECT_NE(storeText().find("[Recent%20File%20List]\nFile1=/e.html\n"), std::string::npos);
}

// Values of the wrong type, out of range or absent fall back one by one; a
// number other than 0 shows its award and an unexpected version is kept as it is.
TEST_F(SettingsStoreTest, EachBadValueGivesItsOwnDefault) {
    writeStore(
        "[General]\nTheme=/x,/y\nOutfile=/kept.html\nZefaVersion=3\nAward0=abc\n"
        "Award1=99999999999\nAward2=0\nAward5=7\nAward6=1.5\nAward7=-4\n"
        "[Recent%20File%20List]\nFile1=/r.html\nFile3=/s.html\n");
    QSettings store(QString::fromStdString(storeFile.string()), QSettings::IniFormat);
    const GenerationSettings loaded = LoadSettings(store);
    EXPECT_EQ(loaded.themeFile, "") << "a list is not a path";
    EXPECT_EQ(loaded.outFile, "/kept.html");
    EXPECT_EQ(loaded.gameVersion, 3);
    EXPECT_FALSE(loaded.detectVersion) << "a store without it keeps its version";
    const std::array<std::int32_t, 8> flags = {1, 1, 0, 1, 1, 7, 1, -4};
    for (std::size_t i = 0; i < flags.size(); ++i)
        EXPECT_EQ(loaded.awardSelected[i], flags[i]) << i;
    EXPECT_EQ(loaded.awardsShown()[7], true);
    EXPECT_EQ(loadRecentFiles(store).entries(), (std::vector<std::string>{"/r.html", "/s.html"}));
    for (const auto& [text, detect] : {std::pair("false", false), {"true", true}, {"yes", false}}) {
        store.setValue("DetectVersion", text);
        EXPECT_EQ(LoadSettings(store).detectVersion, detect) << text;
    }
}

TEST_F(SettingsStoreTest, ADamagedStoreIsKeptAsideAndTheDefaultsUsed) {
    const std::string damaged = "[General]\nTheme=/t.thm\n\x01\xff[Recent File List\n=\n";
    writeStore(damaged);
    SessionSettings session;
    EXPECT_EQ(session.generation, GenerationSettings{});
    EXPECT_EQ(test::readFile(storeFile.string() + ".damaged"), damaged);
    EXPECT_TRUE(session.save());
    EXPECT_NE(storeText().find("ZefaVersion=1"), std::string::npos);
}

// A folder where the store file should be cannot be read or written: the
// defaults apply and the failed write is reported.
TEST_F(SettingsStoreTest, AnUnwritableStoreIsReportedNotIgnored) {
    std::filesystem::create_directory(storeFile);
    SessionSettings session;
    EXPECT_EQ(session.generation, GenerationSettings{});
    testing::internal::CaptureStderr();
    EXPECT_FALSE(session.save());
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("zefastats2: the settings could not be written to " + storeFile.string()),
              std::string::npos)
        << told;
}

}  // namespace
}  // namespace zefa::desktop
