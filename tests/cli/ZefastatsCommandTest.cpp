#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "CommandRunner.h"

namespace zefa::test {
namespace {

const std::string kBeta1HLog = std::string(ZEFA_EXAMPLES_DIR) + "/beta1h-ctf.log";
const std::string kBeta2Log = std::string(ZEFA_EXAMPLES_DIR) + "/beta2-ctf.log";
const std::string kClassicTheme = std::string(ZEFA_THEMES_DIR) + "/classic.thm";

// A log small enough to know every figure: Bob rails Tom twice, Tom caps once.
const std::string kSmallLog =
    "Tom took the blue flag\n"
    "Tom captured the blue flag\n"
    "Tom^7 was railed by Bob^7\n"
    "Tom^7 was railed by Bob^7\n"
    "Bob^7: ^2nice\n";

nlohmann::ordered_json runJson(const std::vector<std::string>& args) {
    const CommandResult result = runZefastats(args);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return nlohmann::ordered_json::parse(result.out);
}

TEST(ZefastatsCommand, WritesThePageWithTheBuiltInTheme) {
    const ScratchDir dir;
    const CommandResult toFile = runZefastats({kBeta2Log, "-o", (dir / "stats.html").string()});
    ASSERT_EQ(toFile.exitCode, 0) << toFile.err;
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(toFile.err, "");
    const std::string page = readFile(dir / "stats.html");
    EXPECT_NE(page.find("<html"), std::string::npos);
    EXPECT_NE(page.find("AutoAimer Award"), std::string::npos);

    // Standard output is the default target; nothing is left beside the page.
    const CommandResult toStdout = runZefastats({kBeta2Log, "-g", "2"});
    ASSERT_EQ(toStdout.exitCode, 0) << toStdout.err;
    EXPECT_NE(toStdout.out.find("AutoAimer Award"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(ZefastatsCommand, FailuresNameTheFileAndKeepTheEarlierPage) {
    const ScratchDir dir;
    const auto page = dir / "stats.html";
    writeFile(page, "earlier page");
    writeFile(dir / "match.log", kSmallLog);
    const std::string log = (dir / "match.log").string();

    const CommandResult noLog = runZefastats({(dir / "nope.log").string(), "-o", page.string()});
    EXPECT_EQ(noLog.exitCode, 1);
    EXPECT_EQ(noLog.err, "zefastats: cannot read log '" + (dir / "nope.log").string() +
                             "': No such file or directory\n");

    const CommandResult dirAsLog = runZefastats({dir.path().string(), "-o", page.string()});
    EXPECT_EQ(dirAsLog.exitCode, 1);
    EXPECT_NE(dirAsLog.err.find("Is a directory"), std::string::npos) << dirAsLog.err;

    const CommandResult noTheme =
        runZefastats({log, "-t", (dir / "nope.thm").string(), "-o", page.string()});
    EXPECT_EQ(noTheme.exitCode, 1);
    EXPECT_EQ(noTheme.err, "zefastats: cannot read theme '" + (dir / "nope.thm").string() +
                               "': No such file or directory\n");

    const auto unwritable = dir / "missing-folder" / "stats.html";
    const CommandResult noOutput = runZefastats({log, "-o", unwritable.string()});
    EXPECT_EQ(noOutput.exitCode, 1);
    EXPECT_EQ(noOutput.err, "zefastats: cannot write page '" + unwritable.string() +
                                "': No such file or directory\n");

    const CommandResult noJson =
        runZefastats({log, "-o", page.string(), "--json", unwritable.string()});
    EXPECT_EQ(noJson.exitCode, 1);
    EXPECT_NE(noJson.err.find("cannot write JSON"), std::string::npos);

    const CommandResult jsonOnFolder =
        runZefastats({log, "-o", page.string(), "--json", dir.path().string()});
    EXPECT_EQ(jsonOnFolder.exitCode, 1);
    EXPECT_NE(jsonOnFolder.err.find("Is a directory"), std::string::npos);

    const CommandResult emptyThemeName = runZefastats({log, "-t", "", "-o", page.string()});
    EXPECT_EQ(emptyThemeName.err, "zefastats: cannot read theme '': No such file or directory\n");

    const CommandResult badTemporaryDir = runZefastats({log}, {"TMPDIR=" + unwritable.string()});
    EXPECT_EQ(badTemporaryDir.exitCode, 1);
    EXPECT_NE(badTemporaryDir.err.find("cannot write page '-'"), std::string::npos);

    for (const CommandResult* failed :
         {&noLog, &dirAsLog, &noTheme, &noOutput, &noJson, &jsonOnFolder, &emptyThemeName}) {
        EXPECT_EQ(failed->exitCode, 1);
        EXPECT_EQ(failed->out, "");
    }
    EXPECT_EQ(readFile(page), "earlier page");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2)
        << "no temporary file may be left behind";

    ASSERT_EQ(runZefastats({log, "-o", page.string()}).exitCode, 0);
    EXPECT_NE(readFile(page), "earlier page");
}

TEST(ZefastatsCommand, UsageErrorsExitWithTwo) {
    const ScratchDir dir;
    const std::string same = (dir / "same.json").string();
    const std::vector<std::vector<std::string>> misuses = {
        {},
        {kBeta2Log, "-g", "two"},
        {kBeta2Log, "-a", "18"},
        {kBeta2Log, "-a", "1,,2"},
        {kBeta2Log, "-a", "-1"},
        {kBeta2Log, "--no-such-option"},
        {kBeta2Log, "--json", "-"},
        {kBeta2Log, "-o", same, "--json", (dir / "." / "same.json").string()},
    };
    for (const auto& args : misuses) {
        const CommandResult result = runZefastats(args);
        EXPECT_EQ(result.exitCode, 2) << testing::PrintToString(args);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err, "");
    }
}

TEST(ZefastatsCommand, InformationalOptions) {
    const CommandResult version = runZefastats({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "zefastats 2.1.5\n");

    const CommandResult help = runZefastats({"-h"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--game-version"), std::string::npos);

    const CommandResult list = runZefastats({"--list-awards"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out.rfind("0\tAutoAimer Award\n1\tFragmaster Award\n", 0), 0u);
    EXPECT_NE(list.out.find("\n17\tBlabbermouth Award\n"), std::string::npos);
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 18);
}

TEST(ZefastatsCommand, JsonReportsTheStatisticsInOrder) {
    const ScratchDir dir;
    writeFile(dir / "match.log", kSmallLog + std::string("Caf\xE9 was railed by Bob\n"));
    const nlohmann::ordered_json json =
        runJson({(dir / "match.log").string(), "-o", (dir / "p.html").string(), "--json", "-", "-a",
                 "0,7"});

    std::vector<std::string> keys;
    for (const auto& [key, value] : json.items()) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"gameVersion", "lineCount", "teamScores", "players",
                                              "chat", "awards"}));
    EXPECT_EQ(json["gameVersion"], 1);
    EXPECT_EQ(json["lineCount"], 6);
    EXPECT_EQ(json["teamScores"], nlohmann::json({1, 0, 0, 0}));

    const auto& players = json["players"];
    ASSERT_EQ(players.size(), 3u);
    EXPECT_EQ(players[0]["name"], "Tom^7");
    EXPECT_EQ(players[0]["caps"], 1);
    EXPECT_EQ(players[0]["c2cs"], 1);
    EXPECT_EQ(players[1]["name"], "Bob^7");
    EXPECT_EQ(players[1]["kills"], 3);
    EXPECT_EQ(players[1]["killCount"], nlohmann::json({2, 0, 1}));
    EXPECT_EQ(players[1]["weapKills"][10], 3);
    EXPECT_EQ(players[1]["weapKills"].size(), 35u);
    EXPECT_EQ(players[1]["defenses"].size(), 6u);
    EXPECT_EQ(players[2]["strippedName"], "Caf\u00e9");

    EXPECT_EQ(json["chat"], nlohmann::json::parse(R"([{"speaker":"Bob","text":"nice"}])"));
    EXPECT_EQ(json["awards"], nlohmann::json::parse(R"([
        {"index":0,"name":"AutoAimer Award","result":"Bob^7 ^*with 3 frags."},
        {"index":7,"name":"Touchdown Award","result":"Tom^7 ^*for capping the flag 1 time."}])"));
}

TEST(ZefastatsCommand, GameVersionFollowsTheLogOrTheOption) {
    const ScratchDir dir;
    const auto version = [&](const std::string& log, const std::string& option) {
        return runJson(
            {log, "-g", option, "-o", (dir / "p.html").string(), "--json", "-"})["gameVersion"];
    };
    EXPECT_EQ(version(kBeta1HLog, "auto"), 1);
    EXPECT_EQ(version(kBeta2Log, "auto"), 2);
    EXPECT_EQ(version(kBeta2Log, "1"), 1);
    EXPECT_EQ(version(kBeta1HLog, "2"), 2);
    EXPECT_EQ(version(kBeta2Log, "3"), 1) << "other integers behave as 1";
    EXPECT_EQ(version(kBeta1HLog, "+002"), 2);
    EXPECT_EQ(version(kBeta2Log, "99999999999"), 1);
}

TEST(ZefastatsCommand, SourceDateEpochIsTheClockOfTheDateAndTime) {
    const ScratchDir dir;
    writeFile(dir / "date.thm", "<= DATE =>\n<= TIME =>\n");
    writeFile(dir / "match.log", kSmallLog);
    const CommandResult result =
        runZefastats({(dir / "match.log").string(), "-t", (dir / "date.thm").string()},
                     {"SOURCE_DATE_EPOCH=1000000000", "TZ=UTC"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "Sep 09, 2001\n01:46:40 AM\n");

    const CommandResult malformed =
        runZefastats({(dir / "match.log").string()}, {"SOURCE_DATE_EPOCH=yesterday"});
    EXPECT_EQ(malformed.exitCode, 2);
    EXPECT_EQ(malformed.out, "");
}

TEST(ZefastatsCommand, ReplacesLinkedPagesInPlaceAndWritesEmptyPages) {
    const ScratchDir dir;
    writeFile(dir / "empty.thm", "");
    writeFile(dir / "match.log", kSmallLog);
    writeFile(dir / "real.html", "earlier page");
    std::filesystem::permissions(dir / "real.html", std::filesystem::perms::owner_read |
                                                        std::filesystem::perms::owner_write);
    std::filesystem::create_symlink("real.html", dir / "link.html");

    const CommandResult linked = runZefastats(
        {(dir / "match.log").string(), "-o", (dir / "link.html").string(), "-t", kClassicTheme});
    ASSERT_EQ(linked.exitCode, 0) << linked.err;
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.html"));
    EXPECT_NE(readFile(dir / "real.html").find("Bob"), std::string::npos);
    EXPECT_EQ(std::filesystem::status(dir / "real.html").permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    const CommandResult empty =
        runZefastats({(dir / "match.log").string(), "-t", (dir / "empty.thm").string()});
    EXPECT_EQ(empty.exitCode, 0) << empty.err;
    EXPECT_EQ(empty.out, "");
}

TEST(ZefastatsCommand, AnotherThemeRendersTheSameMatch) {
    const CommandResult result = runZefastats({kBeta1HLog, "-t", kClassicTheme});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("Fragmaster Award"), std::string::npos);
}

}  // namespace
}  // namespace zefa::test
