#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <map>
#include <nlohmann/json.hpp>
#include <numeric>
#include <regex>
#include <thread>

#include "season/Sqlite.h"
#include "site/SitePaths.h"
#include "site/SiteText.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace zefa::cli {
namespace {

namespace fs = std::filesystem;

using season::Database;
using season::SqliteError;
using season::Statement;
using test::CommandResult;
using test::readFile;
using test::runProgram;
using Json = nlohmann::json;

CommandResult zefastats(const std::vector<std::string>& args) {
    return runProgram(ZEFASTATS_BINARY, args);
}

std::string example(const std::string& name) { return ZEFA_EXAMPLES_DIR "/season/" + name; }

// Opened writable, as the next command would: a journal left by a killed
// command is rolled back first.
std::string integrity(const std::filesystem::path& store) {
    Database db(store.string(), SQLITE_OPEN_READWRITE);
    Statement check = db.prepare("PRAGMA integrity_check");
    check.step();
    return std::string(check.text(0));
}

// Matches a store being written holds now; 0 while it is not there or not
// ready to be read.
std::int64_t storedMatches(const std::string& store) {
    if (!std::filesystem::exists(store)) return 0;
    try {
        return Database(store, SQLITE_OPEN_READONLY)
            .queryInteger("SELECT count(*) FROM match")
            .value_or(0);
    } catch (const SqliteError&) {
        return 0;
    }
}

class SeasonCommandTest : public ::testing::Test {
protected:
    // Distinct logs, each a season match with a line of its own appended.
    std::vector<std::string> variants(int count) {
        std::vector<std::string> logs;
        for (int i = 0; i < count; ++i) {
            const auto path = dir / ("v" + std::to_string(i) + ".log");
            test::writeFile(path, test::readFile(example(i % 2 ? "match-11.log" : "match-12.log")) +
                                      "variant " + std::to_string(i) + "\n");
            logs.push_back(path.string());
        }
        return logs;
    }
    std::string store() const { return (dir / "season.db").string(); }
    // With `keepOverlap` unset, the variants of one match are its recordings.
    std::vector<std::string> importArgs(const std::vector<std::string>& logs,
                                        bool keepOverlap = true) const {
        std::vector<std::string> args = {"season", "import", store(), "--played-at",
                                         "2026-03-01T20:00:00Z"};
        if (keepOverlap) args.push_back("--keep-overlap");
        args.insert(args.end(), logs.begin(), logs.end());
        return args;
    }

    test::ScratchDir dir;
};

// The stored numbers of a match are those `zefastats --json` gives for its log.
TEST_F(SeasonCommandTest, ExportHoldsTheNumbersOfZefastatsJson) {
    const std::string logs[] = {example("match-03.log"), example("match-04.log")};
    ASSERT_EQ(zefastats({"season", "import", store(), logs[0], logs[1]}).exitCode, 0);
    const CommandResult exported = zefastats({"season", "export", store(), "--json", "-"});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    const Json season = Json::parse(exported.out);
    EXPECT_EQ(season["formatVersion"], 1);
    for (const Json& match : season["matches"]) {
        const Json single =
            Json::parse(zefastats({example(match["file"]), "-o", "/dev/null", "--json", "-"}).out);
        for (const char* field : {"gameVersion", "lineCount", "teamScores", "awards"})
            EXPECT_EQ(match[field], single[field]) << field;
        ASSERT_EQ(match["players"].size(), single["players"].size());
        for (const Json& record : single["players"]) {
            std::string key = record["strippedName"];
            for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            const auto player = std::ranges::find_if(
                match["players"], [&](const Json& p) { return p["key"] == key; });
            ASSERT_NE(player, match["players"].end()) << key;
            for (const auto& [field, value] : record.items()) {
                if (field == "id" || field == "strippedName" || field == "grenRatio") continue;
                if (field == "killCount") {
                    for (std::size_t victim = 0; victim < value.size(); ++victim) {
                        if (value[victim] == 0) continue;
                        std::string victimKey = single["players"][victim]["strippedName"];
                        for (char& c : victimKey)
                            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                        EXPECT_EQ((*player)["killsByVictim"][victimKey], value[victim]) << key;
                    }
                    continue;
                }
                EXPECT_EQ((*player)[field], value) << key << " " << field;
            }
        }
    }
}

// One transaction per log: killed at any moment, the store is intact and
// holds whole logs; the next import finishes the rest, as if never killed.
// The variants of a match are its recordings, each stored once.
TEST_F(SeasonCommandTest, KilledImportLeavesWholeLogsAndTheNextOneFinishes) {
    const auto logs = variants(40);
    const std::string reference = (dir / "reference.db").string();
    auto args = importArgs(logs, false);
    args[2] = reference;
    ASSERT_EQ(zefastats(args).exitCode, 0);

    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv = {const_cast<char*>(ZEFASTATS_BINARY)};
        auto own = importArgs(logs, false);
        for (std::string& arg : own) argv.push_back(arg.data());
        argv.push_back(nullptr);
        freopen("/dev/null", "w", stdout);
        execv(ZEFASTATS_BINARY, argv.data());
        _exit(127);
    }
    // Killed as soon as a log is stored: a fixed delay would let a fast
    // import finish every log before the kill.
    for (int poll = 0; poll < 10'000 && storedMatches(store()) == 0; ++poll)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);

    if (std::filesystem::exists(store())) {  // killed before it made the store: nothing to see
        EXPECT_EQ(integrity(store()), "ok");
        EXPECT_LT(
            Database(store(), SQLITE_OPEN_READWRITE).queryInteger("SELECT count(*) FROM recording"),
            40);
    }
    ASSERT_EQ(zefastats(importArgs(logs, false)).exitCode, 0);
    EXPECT_EQ(integrity(store()), "ok");
    EXPECT_EQ(Database(store(), SQLITE_OPEN_READONLY)
                  .queryInteger("SELECT count(DISTINCT sha256) FROM recording"),
              40);
    EXPECT_EQ(zefastats({"season", "export", store(), "--json", "-"}).out,
              zefastats({"season", "export", reference, "--json", "-"}).out);
}

TEST_F(SeasonCommandTest, TwoImportsAtOnceBothFinishAndStoreEachLogOnce) {
    const auto logs = variants(16);
    std::string command = "true";
    for (int i = 0; i < 2; ++i) {
        command += " & " + test::shellQuote(ZEFASTATS_BINARY);
        for (const std::string& arg : importArgs(logs)) command += " " + test::shellQuote(arg);
        command +=
            " >/dev/null 2>" + test::shellQuote((dir / ("err" + std::to_string(i))).string());
    }
    const CommandResult both = runProgram("/bin/sh", {"-c", command + "; wait %1 && wait %2"});
    EXPECT_EQ(both.exitCode, 0) << test::readFile(dir / "err0") << test::readFile(dir / "err1");
    EXPECT_EQ(integrity(store()), "ok");
    Database db(store(), SQLITE_OPEN_READONLY);
    EXPECT_EQ(db.queryInteger("SELECT count(*) FROM match"), 16);
}

// A match recorded by two clients: each log is a recording of it, listed and
// forgotten one by one.
TEST_F(SeasonCommandTest, RecordingsOfAMatchAreListedAndForgottenOneByOne) {
    const std::string early = ZEFA_EXAMPLES_DIR "/evening/early.log";
    const std::string joiner = ZEFA_EXAMPLES_DIR "/evening/joiner.log";
    const CommandResult imported = zefastats({"season", "import", store(), early, joiner});
    EXPECT_EQ(imported.out, early + ": stored as match 1\n" + joiner +
                                ": recording 2 of match 1\n2 logs: 1 stored, 0 already stored, 1 "
                                "recordings of stored matches, 0 failed\n");
    const Json exported = Json::parse(zefastats({"season", "export", store(), "--json", "-"}).out);
    EXPECT_EQ(exported["matches"][0]["recordings"], 2);

    const CommandResult listed = zefastats({"season", "recordings", store(), "1"});
    const std::regex row(
        "([0-9a-f]{64}) +([0-9]+)  (\\d{4}-\\d\\d-\\d\\dT[0-9:]{8}Z)  imported  (.*)");
    std::vector<std::string> files;
    std::string joinerSha;
    for (std::sregex_iterator it(listed.out.begin(), listed.out.end(), row), end; it != end; ++it) {
        files.push_back((*it)[4]);
        joinerSha = (*it)[1];
    }
    EXPECT_EQ(files, (std::vector<std::string>{"early.log", "joiner.log"})) << listed.out;

    EXPECT_EQ(zefastats({"season", "forget", store(), "--recording", joinerSha.substr(0, 10)}).out,
              "recording " + joinerSha.substr(0, 10) +
                  " forgotten; match 1 is read again from 1 recording\n");
    EXPECT_EQ(zefastats({"season", "forget", store(), "--recording", early}).exitCode, 1);
}

// Files it cannot read are named with the reason; the rest is imported.
TEST_F(SeasonCommandTest, ReportsEachUnusableFileAndImportsTheOthers) {
    test::writeFile(dir / "notes.txt", "shopping list\n");
    const std::string unreadable = (dir / "locked.log").string();
    test::writeFile(unreadable, test::readFile(example("match-01.log")));
    chmod(unreadable.c_str(), 0);
    const bool root = geteuid() == 0;  // root reads every file
    const CommandResult result =
        zefastats({"season", "import", store(), (dir / "notes.txt").string(), unreadable,
                   example("match-02.log"), (dir / "none.log").string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("cannot import '" + (dir / "notes.txt").string() +
                              "': not a console log of a match: no player in it"),
              std::string::npos);
    EXPECT_NE(result.err.find("cannot import '" + (dir / "none.log").string() +
                              "': No such file or directory"),
              std::string::npos);
    if (!root) {
        EXPECT_NE(result.err.find("'" + unreadable + "': Permission denied"), std::string::npos);
    }
    EXPECT_NE(result.out.find("stored as match"), std::string::npos);
}

// A store it cannot use: one line naming it and the reason, exit 1, untouched.
TEST_F(SeasonCommandTest, DamagedAndReadOnlyStoresAreReportedAndLeftAlone) {
    ASSERT_EQ(zefastats(importArgs({example("match-01.log")})).exitCode, 0);
    const std::string stored = test::readFile(store());

    const std::string damaged = (dir / "damaged.db").string();
    std::string bytes = stored;
    for (std::size_t at = 4096; at < bytes.size() && at < 4096 * 6; ++at)
        bytes[at] = static_cast<char>(at * 7);
    test::writeFile(damaged, bytes);
    const CommandResult broken = zefastats({"season", "players", damaged});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_TRUE(broken.err.starts_with("zefastats: ")) << broken.err;
    EXPECT_NE(broken.err.find("'" + damaged + "'"), std::string::npos) << broken.err;
    EXPECT_EQ(std::ranges::count(broken.err, '\n'), 1) << broken.err;
    EXPECT_EQ(test::readFile(damaged), bytes);

    chmod(store().c_str(), 0444);
    chmod(dir.path().c_str(), 0555);
    if (geteuid() != 0) {
        const CommandResult readOnly = zefastats(importArgs({example("match-02.log")}));
        EXPECT_EQ(readOnly.exitCode, 1);
        EXPECT_NE(readOnly.err.find(store()), std::string::npos) << readOnly.err;
        EXPECT_EQ(test::readFile(store()), stored);
    }
    chmod(dir.path().c_str(), 0755);

    const CommandResult missing = zefastats(
        {"season", "import", (dir / "no/such/season.db").string(), example("match-01.log")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "zefastats: cannot open season store '" +
                               (dir / "no/such/season.db").string() +
                               "': No such file or directory\n");
}

TEST_F(SeasonCommandTest, ALogNamedSeasonIsReachedAsDotSlashSeason) {
    const auto log = dir / "season";
    test::writeFile(log, test::readFile(ZEFA_EXAMPLES_DIR "/beta2-ctf.log"));
    const CommandResult page =
        runProgram("/bin/sh", {"-c", "cd " + test::shellQuote(dir.path().string()) + " && " +
                                         test::shellQuote(ZEFASTATS_BINARY) +
                                         " ./season --json -  -o /dev/null"});
    EXPECT_EQ(page.exitCode, 0);
    EXPECT_EQ(Json::parse(page.out)["lineCount"],
              Json::parse(
                  zefastats({ZEFA_EXAMPLES_DIR "/beta2-ctf.log", "--json", "-", "-o", "/dev/null"})
                      .out)["lineCount"]);
    EXPECT_EQ(zefastats({"season"}).exitCode, 2);
}

// `zefastats season` on a store of the two example logs.
class SiteCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        season("import {db} " + std::string(ZEFA_EXAMPLES_DIR) + "/beta1h-ctf.log " +
               ZEFA_EXAMPLES_DIR + "/beta2-ctf.log --played-at 2026-03-01T20:00:00Z");
    }
    void season(std::string arguments) {
        arguments.replace(arguments.find("{db}"), 4, (folder / "clan.db").string());
        const std::string command = std::string(ZEFASTATS_BINARY) + " season " + arguments +
                                    " > " + (folder / "out.txt").string();
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    std::string site(const std::string& options = "") {
        season("site {db} -o " + (folder / "site").string() + " " + options);
        return readFile(folder / "out.txt");
    }

    const test::ScratchDir scratch;
    const fs::path& folder = scratch.path();
};

TEST_F(SiteCommandTest, LeaderboardShowsTheExportsNumbers) {
    site("--min-matches 1");
    season("export {db} --json " + (folder / "export.json").string());
    const auto exported = nlohmann::json::parse(readFile(folder / "export.json"));
    EXPECT_EQ(readFile(folder / "site/season.json"), readFile(folder / "export.json"));

    const std::string index = readFile(folder / "site/index.html");
    const std::regex row(
        "<tr><td class=\"num no\">\\d+</td><td><a href=\"([^\"]+)\">.*?</a></td>"
        "<td class=\"num hl\">([^<]*)</td>((?:<td class=\"num\">[^<]*</td>)+)</tr>");
    std::map<std::string, std::string> shown;  // page, numbers
    for (std::sregex_iterator it(index.begin(), index.end(), row), end; it != end; ++it)
        shown[(*it)[1]] = (*it)[2].str() + (*it)[3].str();
    ASSERT_EQ(shown.size(), exported["players"].size());
    for (const auto& player : exported["players"]) {
        const auto cell = [](const auto& value) {
            return "<td class=\"num\">" + nlohmann::json(value).dump() + "</td>";
        };
        const auto defenses = player["defenses"].get<std::vector<int>>();
        const double kd = player["kills"].get<double>() / std::max(1, player["deaths"].get<int>());
        const std::string expected =
            site::decimal(player["rating"]["ordinal"].get<double>(), 2) + cell(player["matches"]) +
            cell(player["kills"]) + cell(player["deaths"]) +
            "<td class=\"num\">" + site::decimal(kd, 2) + "</td>" + cell(player["caps"]) +
            cell(player["c2cs"]) + cell(player["flagSaves"]) +
            cell(std::accumulate(defenses.begin(), defenses.end(), 0)) + cell(player["awardsWon"]);
        EXPECT_EQ(shown[site::playerPagePath(player["key"].get<std::string>())], expected)
            << player["key"];
    }
}

TEST_F(SiteCommandTest, RebuildAfterForgetAndMergeRemovesWhatIsGone) {
    EXPECT_EQ(site(), "31 pages written, 0 kept, 0 removed: " +
                          (folder / "site/index.html").string() + "\n");
    season("merge {db} viper raven");
    season("forget {db} 2");
    const std::string report = site();
    EXPECT_FALSE(fs::exists(folder / "site" / site::matchPagePath(2)));
    EXPECT_FALSE(fs::exists(folder / "site" / site::playerPagePath("viper")));
    EXPECT_TRUE(fs::exists(folder / "site" / site::playerPagePath("raven")));
    const std::size_t left =
        std::distance(fs::directory_iterator(folder / "site/players"), fs::directory_iterator());
    EXPECT_NE(report.find(std::to_string(27 + 1 - left) + " removed"), std::string::npos) << report;
}

}  // namespace
}  // namespace zefa::cli
