#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

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

// Whether a store being written has its tables yet; false while it is not
// there or not ready to be read.
bool storeMade(const std::string& store) {
    if (!std::filesystem::exists(store)) return false;
    try {
        return Database(store, SQLITE_OPEN_READONLY)
                   .queryInteger("SELECT count(*) FROM sqlite_schema WHERE name = 'recording'") == 1;
    } catch (const SqliteError&) {
        return false;
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
    // Killed once the store is made, while its logs are read and stored (all
    // 40 in one transaction): a fixed delay would let a fast import finish
    // before the kill.
    for (int poll = 0; poll < 10'000 && !storeMade(store()); ++poll)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);

    if (storeMade(store())) {
        EXPECT_EQ(integrity(store()), "ok");
        // Whole logs: every stored recording's match has its players.
        EXPECT_EQ(Database(store(), SQLITE_OPEN_READWRITE)
                      .queryInteger("SELECT count(*) FROM recording r WHERE NOT EXISTS "
                                    "(SELECT 1 FROM record WHERE matchId = r.matchId)"),
                  0);
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
                                "recordings of stored matches, 0 empty, 0 failed\n");
    const Json exported = Json::parse(zefastats({"season", "export", store(), "--json", "-"}).out);
    EXPECT_EQ(exported["matches"][0]["recordings"], 2);

    const CommandResult listed = zefastats({"season", "recordings", store(), "1"});
    const std::regex row(
        "([0-9a-f]{64}) +([0-9]+)  (\\d{4}-\\d\\d-\\d\\dT[0-9:]{8}Z)  imported +(.*)");
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

// A nightly import of the game's folder: the folder gives its logs, an empty
// one (the game's own right after a start) is skipped without failing, and
// logs that all carry one modification time, as a copy leaves them, are
// pointed out, unless each has its own time.
TEST_F(SeasonCommandTest, ImportTakesAFolderSkipsEmptyLogsAndNotesCopiedTimes) {
    const fs::path logs = dir / "logs";
    fs::create_directory(logs);
    for (const char* name : {"match-01.log", "match-02.log"}) {
        test::writeFile(logs / name, readFile(example(name)));
        const utimbuf copied{1772395200, 1772395200};  // 2026-03-01T20:00:00Z
        utime((logs / name).c_str(), &copied);
    }
    test::writeFile(logs / "qconsole.log", "");
    const CommandResult copied = zefastats({"season", "import", store(), logs.string()});
    EXPECT_EQ(copied.exitCode, 0) << copied.err;
    EXPECT_NE(copied.out.find((logs / "qconsole.log").string() + ": empty, skipped\n"),
              std::string::npos)
        << copied.out;
    EXPECT_TRUE(copied.out.ends_with(
        "3 logs: 2 stored, 0 already stored, 0 recordings of stored matches, 1 empty, 0 failed\n"))
        << copied.out;
    EXPECT_EQ(copied.err,
              "zefastats: note: 2 of 2 logs were last modified at 2026-03-01T20:00:00Z, as a copy "
              "or a checkout leaves files, and their matches count as played then: give each log "
              "its time with --played-at FILE@TIME\n");

    const CommandResult timed =
        zefastats({"season", "import", (dir / "timed.db").string(), logs.string(), "--played-at",
                   "match-01.log@2026-03-02", "--played-at",
                   (logs / "match-02.log").string() + "@2026-03-03"});
    EXPECT_EQ(timed.exitCode, 0);
    EXPECT_EQ(timed.err, "");
    EXPECT_NE(zefastats({"season", "matches", (dir / "timed.db").string()})
                  .out.find("2026-03-03T00:00:00Z       8          1  match-02.log"),
              std::string::npos);
}

// As the README and scripts/demo.sh import the example season: every log gets
// the evening it was played from examples/season-times.txt, which a checkout
// does not keep in the files' times.
TEST_F(SeasonCommandTest, TheExampleSeasonGetsItsTimesFromItsTimesFile) {
    std::vector<std::string> args = {"season", "import", store()};
    for (const auto& entry : fs::directory_iterator(ZEFA_EXAMPLES_DIR "/season"))
        args.push_back(entry.path().string());
    std::sort(args.begin() + 3, args.end());  // as the shell gives examples/season/*.log
    std::istringstream times(readFile(ZEFA_EXAMPLES_DIR "/season-times.txt"));
    for (std::string word; times >> word;) args.push_back(word);
    const CommandResult imported = zefastats(args);
    EXPECT_EQ(imported.exitCode, 0);
    EXPECT_EQ(imported.err, "");  // no log left to its file's time
    const std::string listed = zefastats({"season", "matches", store()}).out;
    std::istringstream lines(listed.substr(listed.find('\n') + 1));
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        char expected[64];
        std::snprintf(expected, sizeof expected, "2026-03-%02dT20:00:00Z", number + 1);
        EXPECT_NE(line.find(expected), std::string::npos) << line;
        std::snprintf(expected, sizeof expected, "match-%02d.log", number);
        EXPECT_TRUE(line.ends_with(expected)) << line;
    }
    EXPECT_EQ(number, 12);
}

// A store it cannot use: one line naming it and the reason, exit 1, untouched.
TEST_F(SeasonCommandTest, DamagedAndReadOnlyStoresAreReportedAndLeftAlone) {
    ASSERT_EQ(zefastats(importArgs({example("match-01.log")})).exitCode, 0);
    const std::string stored = test::readFile(store());

    const std::string damaged = (dir / "damaged.db").string();
    std::string bytes = stored;
    for (std::size_t at = 4096; at < bytes.size() && at < 4096 * 6; ++at)
        bytes[at] = static_cast<char>(at * 7);
    // A command that reads every table, and one that changes it.
    for (std::vector<std::string> args :
         {std::vector<std::string>{"season", "export", "--json", "-"},
          std::vector<std::string>{"season", "forget", "1"}}) {
        test::writeFile(damaged, bytes);
        args.insert(args.begin() + 2, damaged);
        const CommandResult broken = zefastats(args);
        EXPECT_EQ(broken.exitCode, 1) << args[1];
        EXPECT_TRUE(broken.err.starts_with("zefastats: ")) << broken.err;
        EXPECT_NE(broken.err.find("'" + damaged + "'"), std::string::npos) << broken.err;
        EXPECT_EQ(std::ranges::count(broken.err, '\n'), 1) << broken.err;
        EXPECT_EQ(test::readFile(damaged), bytes);
    }

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

// `matches` lists the ids `forget` takes, `forget` says what it removed, and
// `players` says how many its --min-matches leaves out.
TEST_F(SeasonCommandTest, MatchesListsWhatForgetTakesAndPlayersSaysWhomItLeavesOut) {
    const std::pair<std::string, std::string> played[] = {
        {"match-03.log", "2026-03-01T20:00:00Z"},
        {"match-01.log", "2026-03-02T20:00:00Z"},
        {"match-02.log", "2026-03-03T20:00:00Z"},
    };
    for (const auto& [log, at] : played)
        ASSERT_EQ(
            zefastats({"season", "import", store(), example(log), "--played-at", at}).exitCode, 0);
    const std::string header = "    ID  PLAYED AT            PLAYERS RECORDINGS  FILE\n";
    EXPECT_EQ(zefastats({"season", "matches", store()}).out,
              header + "     1  2026-03-01T20:00:00Z       9          1  match-03.log\n" +
                  "     2  2026-03-02T20:00:00Z      10          1  match-01.log\n" +
                  "     3  2026-03-03T20:00:00Z       8          1  match-02.log\n");
    EXPECT_EQ(zefastats({"season", "forget", store(), "2"}).out,
              "match 2 forgotten: match-01.log, played 2026-03-02T20:00:00Z\n");
    EXPECT_EQ(zefastats({"season", "matches", store(), "--since", "2026-03-02"}).out,
              header + "     3  2026-03-03T20:00:00Z       8          1  match-02.log\n");

    const auto lines = [](const std::string& text) { return std::ranges::count(text, '\n'); };
    const std::string all = zefastats({"season", "players", store(), "--min-matches", "0"}).out;
    const std::string some = zefastats({"season", "players", store(), "--min-matches", "2"}).out;
    const std::smatch note = [&some] {
        std::smatch found;
        std::regex_search(some, found,
                          std::regex("\n(\\d+) players with fewer than 2 matches are not shown "
                                     "\\(--min-matches 0 shows every one\\)\n$"));
        return found;
    }();
    ASSERT_FALSE(note.empty()) << some;
    EXPECT_EQ(lines(some) - 1 + std::stoi(note[1]), lines(all));
}

// The store's owner and a reader who may not write it: as root (to whom every
// permission is granted) two other users, otherwise this user for both.
class StoreUsers {
public:
    StoreUsers() : m_root(geteuid() == 0) {}
    [[nodiscard]] bool usable() const { return !m_root || fs::exists("/usr/bin/setpriv"); }
    CommandResult owner(std::vector<std::string> args) const { return run(kOwner, args); }
    CommandResult reader(std::vector<std::string> args) const { return run(kReader, args); }
    // Gives a file made by the test to the reader, and keeps the owner from writing it.
    void leaveToReader(const fs::path& file) const {
        if (m_root && chown(file.c_str(), kReader, kReader) == 0) return;
        chmod(file.c_str(), 0444);
    }

private:
    static constexpr uid_t kOwner = 40001;
    static constexpr uid_t kReader = 40002;
    CommandResult run(uid_t user, std::vector<std::string> args) const {
        args.insert(args.begin(), "season");
        if (!m_root) return zefastats(args);
        const std::string id = std::to_string(user);
        args.insert(args.begin(),
                    {"--reuid=" + id, "--regid=" + id, "--clear-groups", ZEFASTATS_BINARY});
        return runProgram("/usr/bin/setpriv", args);
    }
    bool m_root;
};

// Commands that only read work where the user may only read the store, make
// no file beside it, and a file another user left there is reported with
// what to do instead of failing the first change.
TEST_F(SeasonCommandTest, ReadingCommandsWorkWhereTheStoreIsReadOnly) {
    const StoreUsers users;
    if (!users.usable()) GTEST_SKIP() << "run as root without setpriv: permissions do not bite";
    chmod(dir.path().c_str(), 0777);
    ASSERT_EQ(users.owner({"import", store(), example("match-01.log"), "--played-at", "2026-03-01"})
                  .exitCode,
              0);
    const std::string wal = store() + "-wal";
    const std::string shm = store() + "-shm";
    const std::vector<std::vector<std::string>> reading = {
        {"players", store()},
        {"matches", store()},
        {"export", store(), "--json", "-"},
        {"site", store(), "-o", (dir / "site").string()},
    };
    const auto readingWorks = [&] {
        for (const auto& args : reading) {
            const CommandResult result = users.reader(args);
            EXPECT_EQ(result.exitCode, 0) << args[0] << ": " << result.err;
        }
    };
    readingWorks();
    EXPECT_FALSE(fs::exists(wal));
    EXPECT_FALSE(fs::exists(shm));

    chmod(store().c_str(), 0444);
    chmod(dir.path().c_str(), 0555);
    readingWorks();
    const CommandResult change =
        users.owner({"import", store(), example("match-02.log"), "--played-at", "2026-03-02"});
    EXPECT_EQ(change.exitCode, 1);
    EXPECT_EQ(change.err, "zefastats: cannot open season store '" + store() +
                              "': read-only for this user (Permission denied)\n");
    chmod(dir.path().c_str(), 0777);
    chmod(store().c_str(), 0644);

    {
        // A change not yet folded into the store, as while an import runs.
        Database writer(store(), SQLITE_OPEN_READWRITE);
        writer.exec("PRAGMA wal_autocheckpoint = 0");
        writer.exec("UPDATE season_player SET name = 'Waiting' WHERE seasonKey = 'viper'");
        const CommandResult waiting = users.reader({"players", store(), "--min-matches", "0"});
        EXPECT_EQ(waiting.exitCode, 0) << waiting.err;
        EXPECT_NE(waiting.out.find("Waiting"), std::string::npos);
        chmod(wal.c_str(), 0);
        const CommandResult unreadable = users.reader({"players", store()});
        EXPECT_EQ(unreadable.exitCode, 1);
        EXPECT_NE(unreadable.err.find("'" + wal +
                                      "' holds changes not yet in the store, and this user "
                                      "cannot read '" + wal + "' (Permission denied): the next "
                                      "season command of a user who may write the store brings "
                                      "them in"),
                  std::string::npos)
            << unreadable.err;
        chmod(wal.c_str(), 0644);
    }

    // As another user's reading command of an earlier version left them.
    for (const auto& companion : {wal, shm}) {
        test::writeFile(companion, "");
        users.leaveToReader(companion);
    }
    const CommandResult blocked =
        users.owner({"import", store(), example("match-02.log"), "--played-at", "2026-03-02"});
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_NE(blocked.err.find("it holds no changes: remove '" + wal + "' and '" + shm +
                               "' while no command uses the store"),
              std::string::npos)
        << blocked.err;
    readingWorks();
    fs::remove(wal);
    fs::remove(shm);
    EXPECT_EQ(users.owner({"import", store(), example("match-02.log"), "--played-at", "2026-03-02"})
                  .exitCode,
              0);
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
        const std::string command = std::string(ZEFASTATS_BINARY) + " season " + arguments + " > " +
                                    (folder / "out.txt").string();
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
            cell(player["kills"]) + cell(player["deaths"]) + "<td class=\"num\">" +
            site::decimal(kd, 2) + "</td>" + cell(player["caps"]) + cell(player["c2cs"]) +
            cell(player["flagSaves"]) + cell(std::accumulate(defenses.begin(), defenses.end(), 0)) +
            cell(player["awardsWon"]);
        EXPECT_EQ(shown[site::playerPagePath(player["key"].get<std::string>())], expected)
            << player["key"];
    }
}

TEST_F(SiteCommandTest, RebuildAfterForgetAndMergeRemovesWhatIsGone) {
    EXPECT_EQ(site(), "33 pages written, 0 kept, 0 removed: " +
                          (folder / "site/index.html").string() + "\n");
    season("merge {db} viper raven");
    season("forget {db} 2");
    const std::string report = site();
    EXPECT_FALSE(fs::exists(folder / "site" / site::matchPagePath(2)));
    EXPECT_FALSE(fs::exists(folder / "site" / site::playerPagePath("viper")));
    EXPECT_TRUE(fs::exists(folder / "site" / site::playerPagePath("raven")));
    const std::size_t left =
        std::distance(fs::directory_iterator(folder / "site/players"), fs::directory_iterator());
    EXPECT_NE(report.find(std::to_string(27 + 2 - left) + " removed"), std::string::npos) << report;
}

// No folder and the root are usage errors; a folder of other files is
// refused unless they are allowed, and they stay as they were.
TEST_F(SiteCommandTest, AFolderOfOtherFilesIsRefusedAndNoFolderIsAUsageError) {
    const std::string db = (folder / "clan.db").string();
    for (const std::string unfit : {"", "/", "/tmp/.."})
        EXPECT_EQ(test::runProgram(ZEFASTATS_BINARY, {"season", "site", db, "-o", unfit}).exitCode,
                  2)
            << unfit;
    fs::create_directories(folder / "site/players");
    test::writeFile(folder / "site/players/custom.html", "mine");
    const std::vector<std::string> args = {"season", "site", db, "-o", (folder / "site").string()};
    auto result = test::runProgram(ZEFASTATS_BINARY, args);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "zefastats: cannot write the site into '" + (folder / "site").string() +
                              "': it holds files that are not of a season's site, such as '" +
                              (folder / "site/players/custom.html").string() +
                              "'; --allow-other-files writes it beside them\n");
    EXPECT_FALSE(fs::exists(folder / "site/index.html"));
    auto allowed = args;
    allowed.push_back("--allow-other-files");
    result = test::runProgram(ZEFASTATS_BINARY, allowed);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(readFile(folder / "site/players/custom.html"), "mine");
}

}  // namespace
}  // namespace zefa::cli
