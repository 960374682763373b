#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/RunProgram.h"

namespace zefa::test {
namespace {

// Runs zefastats with the arguments and environment assignments ("NAME=value").
CommandResult runZefastats(const std::vector<std::string>& args,
                           const std::vector<std::string>& environment = {}) {
    return runProgram(ZEFASTATS_BINARY, args, environment);
}

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

// Each test has a scratch directory holding kSmallLog as match.log.
class ZefastatsCommand : public testing::Test {
protected:
    void SetUp() override { writeFile(m_log, kSmallLog); }
    [[nodiscard]] std::string path(const std::string& name) const {
        return (m_dir / name).string();
    }
    [[nodiscard]] std::ptrdiff_t files() const {
        return std::distance(std::filesystem::directory_iterator(m_dir.path()), {});
    }

    const ScratchDir m_dir;
    const std::string m_log = path("match.log");
};

// Every failure exits with 1 and one line naming the file and the reason,
// writes nothing and leaves the earlier page as it was.
TEST_F(ZefastatsCommand, FailuresNameTheFileAndKeepTheEarlierPage) {
    const std::string page = path("stats.html"), missing = path("nope"),
                      folder = m_dir.path().string();
    const std::string unwritable = path("missing-folder/stats.html");
    writeFile(page, "earlier page");
    const std::string noFile = "No such file or directory", isFolder = "Is a directory";
    const struct {
        std::vector<std::string> args, environment;
        std::string what, file, reason;
    } failures[] = {
        {{missing, "-o", page}, {}, "read log", missing, noFile},
        {{folder, "-o", page}, {}, "read log", folder, isFolder},
        {{m_log, "-t", missing, "-o", page}, {}, "read theme", missing, noFile},
        {{m_log, "-t", "", "-o", page}, {}, "read theme", "", noFile},
        {{m_log, "-o", unwritable}, {}, "write page", unwritable, noFile},
        {{m_log}, {"TMPDIR=" + unwritable}, "write page", "-", noFile},
        {{m_log, "-o", page, "--json", unwritable}, {}, "write JSON", unwritable, noFile},
        {{m_log, "-o", page, "--json", folder}, {}, "write JSON", folder, isFolder},
    };
    for (const auto& f : failures) {
        const CommandResult result = runZefastats(f.args, f.environment);
        EXPECT_EQ(result.exitCode, 1) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err,
                  "zefastats: cannot " + f.what + " '" + f.file + "': " + f.reason + "\n");
    }
    EXPECT_EQ(readFile(page), "earlier page");
    EXPECT_EQ(files(), 2) << "no temporary file may be left behind";

    const CommandResult written = runZefastats({m_log, "-o", page});
    EXPECT_EQ(written.exitCode, 0);
    EXPECT_EQ(written.out + written.err, "");
    EXPECT_NE(readFile(page).find("AutoAimer Award"), std::string::npos);
    EXPECT_EQ(files(), 2);
}

TEST_F(ZefastatsCommand, UsageErrorsExitWithTwo) {
    const std::string same = path("same.json");
    const std::vector<std::vector<std::string>> misuses = {
        {},
        {kBeta2Log, "-g", "two"},
        {kBeta2Log, "-a", "18"},
        {kBeta2Log, "-a", "1,,2"},
        {kBeta2Log, "-a", "-1"},
        {kBeta2Log, "--no-such-option"},
        {kBeta2Log, "--json", "-"},
        {kBeta2Log, "-o", same, "--json", path("./same.json")}};
    for (const auto& args : misuses) {
        const CommandResult result = runZefastats(args);
        EXPECT_EQ(result.exitCode, 2) << testing::PrintToString(args);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.starts_with("zefastats: ")) << result.err;
    }
}

TEST_F(ZefastatsCommand, InformationalOptions) {
    const CommandResult version = runZefastats({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "zefastats 2.1.5\n");
    const CommandResult help = runZefastats({"-h"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Usage: zefastats [OPTIONS] LOGFILE\n"), std::string::npos);
    EXPECT_NE(help.out.find("any other integer reads as 1"), std::string::npos);
    const CommandResult list = runZefastats({"--list-awards"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out.rfind("0\tAutoAimer Award\n1\tFragmaster Award\n", 0), 0u);
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 18);
}

TEST_F(ZefastatsCommand, JsonReportsTheStatisticsInOrder) {
    writeFile(m_log, kSmallLog + std::string("Caf\xE9 was railed by Bob\n"));
    const auto json = runJson({m_log, "-o", path("p.html"), "--json", "-", "-a", "0,7"});

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

// The Beta2 log has 14 players read with the newer messages, 22 with the older.
TEST_F(ZefastatsCommand, GameVersionFollowsTheLogOrTheOption) {
    const auto run = [this](const std::string& file, const std::string& option) {
        const auto json = runJson({file, "-g", option, "-o", path("p.html"), "--json", "-"});
        return std::pair(json["gameVersion"].get<int>(), json["players"].size());
    };
    EXPECT_EQ(run(kBeta2Log, "auto"), std::pair(2, std::size_t{14}));
    EXPECT_EQ(run(kBeta2Log, "2"), std::pair(2, std::size_t{14}));
    EXPECT_EQ(run(kBeta2Log, "3"), std::pair(1, std::size_t{22})) << "other integers behave as 1";
    EXPECT_EQ(run(kBeta1HLog, "auto").first, 1);
    EXPECT_EQ(run(kBeta1HLog, "+002").first, 2);
    EXPECT_EQ(run(kBeta1HLog, "-2").first, 1);
}

TEST_F(ZefastatsCommand, SourceDateEpochIsTheClockOfTheDateAndTime) {
    writeFile(m_dir / "date.thm", "<= DATE =>\n<= TIME =>\n<= NUMLINES =>\n");
    const CommandResult result =
        runZefastats({m_log, "-t", path("date.thm")}, {"SOURCE_DATE_EPOCH=1000000000", "TZ=UTC"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "Sep 09, 2001\n01:46:40 AM\n5");

    const CommandResult malformed = runZefastats({m_log}, {"SOURCE_DATE_EPOCH=yesterday"});
    EXPECT_EQ(malformed.exitCode, 2);
    EXPECT_EQ(malformed.out, "");
}

TEST_F(ZefastatsCommand, ReplacesLinkedPagesInPlaceAndWritesEmptyPages) {
    writeFile(m_dir / "empty.thm", "");
    writeFile(m_dir / "real.html", "earlier page");
    const auto mode = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
    std::filesystem::permissions(m_dir / "real.html", mode);
    std::filesystem::create_symlink("real.html", m_dir / "link.html");

    const CommandResult linked =
        runZefastats({m_log, "-o", path("link.html"), "-t", kClassicTheme});
    ASSERT_EQ(linked.exitCode, 0) << linked.err;
    EXPECT_TRUE(std::filesystem::is_symlink(m_dir / "link.html"));
    EXPECT_NE(readFile(m_dir / "real.html").find("Fragmaster Award"), std::string::npos);
    EXPECT_EQ(std::filesystem::status(m_dir / "real.html").permissions(), mode);

    const CommandResult empty = runZefastats({m_log, "-t", path("empty.thm")});
    EXPECT_EQ(empty.exitCode, 0) << empty.err;
    EXPECT_EQ(empty.out, "");
}

// A log that gives no player still gives its page and exit status 0 (batch
// runs and scripts rely on it); standard error says why, in the browser
// page's words.
TEST_F(ZefastatsCommand, ALogWithoutPlayersGivesItsPageAndSaysWhy) {
    const std::pair<std::string, std::string> logs[] = {
        {"", "The log is empty."},
        {std::string("\x7f" "ELF\2\1\1\0\0\0\n", 12), "The log is not a text file."},
        {"shopping list\n", "No line of the log names a player."},
    };
    for (const auto& [bytes, reason] : logs) {
        writeFile(m_log, bytes);
        const std::string page = path("stats.html");
        std::filesystem::remove(page);
        const CommandResult result = runZefastats({m_log, "-o", page});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.err, "zefastats: no player found in '" + m_log + "': " + reason + "\n");
        EXPECT_NE(readFile(page).find("</html>"), std::string::npos) << reason;
    }
    writeFile(m_log, kSmallLog);
    EXPECT_EQ(runZefastats({m_log, "-o", "/dev/null"}).err, "");
}

}  // namespace
}  // namespace zefa::test
