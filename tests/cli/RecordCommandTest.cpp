#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <random>
#include <regex>
#include <thread>

#include "cli/SimulatedGame.h"
#include "season/SeasonStore.h"
#include "support/FakeRecordingsServer.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace zefa::cli {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::readFile;
using test::runProgram;
using test::SimulatedGame;
using FakeServer = test::FakeRecordingsServer;

// The quiet time the tests run with, 1.2 s, and a quiet spell of the game
// well beyond it.
const std::string kQuietMinutes = "0.02";
constexpr auto kQuietSpell = 1800ms;

bool waitFor(const std::function<bool()>& done, std::chrono::seconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// `zefastats record ARGS` as a child in a process group of its own, which its
// import children join; its output is appended to out.txt and err.txt.
class Recorder {
public:
    Recorder(std::vector<std::string> args, fs::path outputs)
        : m_args(std::move(args)), m_outputs(std::move(outputs)) {
        m_args.insert(m_args.begin(), {ZEFASTATS_BINARY, "record"});
    }
    ~Recorder() {
        for (const pid_t group : m_groups) ::kill(-group, SIGKILL);  // import children left over
        if (m_pid > 0) ::waitpid(m_pid, nullptr, 0);
    }

    void start() {
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        const std::string out = (m_outputs / "out.txt").string();
        const std::string err = (m_outputs / "err.txt").string();
        posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        std::vector<char*> argv;
        for (std::string& arg : m_args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        ASSERT_EQ(::posix_spawn(&m_pid, argv[0], &files, &attributes, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&files);
        posix_spawnattr_destroy(&attributes);
        m_groups.push_back(m_pid);
    }
    // Sends the signal to the recorder, or to it and its import child; the exit status.
    int signal(int number, bool group = false) {
        ::kill(group ? -m_pid : m_pid, number);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    [[nodiscard]] std::string out() const { return readFile(m_outputs / "out.txt"); }
    [[nodiscard]] std::string err() const { return readFile(m_outputs / "err.txt"); }

private:
    std::vector<std::string> m_args;
    fs::path m_outputs;
    pid_t m_pid = -1;
    std::vector<pid_t> m_groups;
};

// The token the stand-in server knows the recorder by.
const std::string kToken = "q7Xv2LpR9sTz4KwN8mJcYa-_";

std::vector<std::string> spools(const fs::path& archive) {
    std::vector<std::string> contents;
    for (const fs::directory_entry& entry : fs::directory_iterator(archive))
        if (entry.is_regular_file()) contents.push_back(readFile(entry.path()));
    std::sort(contents.begin(), contents.end());
    return contents;
}

// Whether a spool holds the session so far: the recorder has caught up.
bool caughtUp(const fs::path& archive, const std::string& session) {
    std::error_code notYet;
    for (const fs::directory_entry& entry : fs::directory_iterator(archive, notYet))
        if (entry.is_regular_file() && entry.file_size() == session.size() &&
            readFile(entry.path()) == session)
            return true;
    return false;
}

// The stored log of every match; empty while the store cannot be read.
std::vector<std::string> storedLogs(const fs::path& store) {
    std::vector<std::string> logs;
    try {
        auto season = season::SeasonStore::open(store, season::SeasonStore::OpenMode::Existing);
        for (const season::SeasonMatch& match : season.snapshot().matches)
            logs.push_back(season.matchLog(match.id).bytes);
    } catch (const season::SeasonError&) {
        logs.clear();
    }
    return logs;
}

// Each session is one match of the season, whose log is the session or, when
// it was imported while the session was quiet, its beginning.
void expectEachSessionStoredOnce(const fs::path& store, const std::vector<std::string>& sessions) {
    std::vector<int> matches(sessions.size());
    for (const std::string& log : storedLogs(store)) {
        int sessionsBeginningSo = 0;
        for (std::size_t i = 0; i < sessions.size(); ++i)
            if (sessions[i].starts_with(log)) ++sessionsBeginningSo, ++matches[i];
        EXPECT_EQ(sessionsBeginningSo, 1);
    }
    EXPECT_EQ(matches, std::vector<int>(sessions.size(), 1));
}

std::vector<std::string> sorted(std::vector<std::string> texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

class RecordCommandTest : public ::testing::Test {
protected:
    fs::path archive() const { return dir / "recordings"; }
    fs::path store() const { return dir / "season.db"; }
    // The token file, readable by its owner alone unless `mode` says otherwise.
    fs::path tokenFile(mode_t mode = 0600) const {
        const fs::path file = dir / ("token-" + std::to_string(mode));
        test::writeFile(file, kToken + "\n");
        ::chmod(file.c_str(), mode);
        return file;
    }
    std::vector<std::string> sending(const FakeServer& server, const fs::path& log) const {
        return {"--archive", archive().string(), "--quiet", kQuietMinutes, "--send", server.url(),
                "--token-file", tokenFile().string(), log.string()};
    }
    std::vector<std::string> arguments(const std::vector<fs::path>& logs) const {
        std::vector<std::string> args = {"--archive", archive().string(), "--season",
                                         store().string(), "--quiet", kQuietMinutes};
        for (const fs::path& log : logs) args.push_back(log.string());
        return args;
    }
    // Plays `sessions` sessions, waiting before each new one until the
    // recorder has copied the last: what the game writes while no recorder
    // runs is lost when the game empties its log, whatever the recorder does.
    void play(SimulatedGame& game, const std::function<bool(int)>& more) {
        for (int session = 0; more(session); ++session) {
            if (session > 0) {
                ASSERT_TRUE(waitFor([&] { return caughtUp(archive(), game.sessions().back()); },
                                    30s));
            }
            game.begin();
            game.play();
        }
    }

    test::ScratchDir dir;
};

TEST_F(RecordCommandTest, FollowsTwoGamesSessionBySessionIntoSpoolsAndTheSeason) {
    fs::create_directories(dir / "a");
    fs::create_directories(dir / "b");
    SimulatedGame first(dir / "a/qconsole.log", 1, {150, 2ms, kQuietSpell});
    SimulatedGame second(dir / "b/qconsole.log", 2, {150, 3ms, 0ms});
    Recorder recorder(arguments({first.log(), second.log()}), dir.path());
    recorder.start();
    std::thread secondGame([&] { play(second, [](int session) { return session < 3; }); });
    play(first, [](int session) { return session < 3; });
    secondGame.join();

    std::vector<std::string> sessions = first.sessions();
    sessions.insert(sessions.end(), second.sessions().begin(), second.sessions().end());
    EXPECT_TRUE(waitFor([&] { return storedLogs(store()).size() >= sessions.size(); }, 30s));
    EXPECT_EQ(recorder.signal(SIGINT), 0) << recorder.err();
    EXPECT_EQ(spools(archive()), sorted(sessions));
    expectEachSessionStoredOnce(store(), sessions);
    EXPECT_NE(recorder.out().find("following " + first.log().string() + " with inotify"),
              std::string::npos)
        << recorder.out();
    EXPECT_EQ(recorder.err(), "");
}

TEST_F(RecordCommandTest, LooksEverySoOftenWhereChangesAreNotReported) {
    SimulatedGame game(dir / "qconsole.log", 3, {120, 2ms, 0ms});
    std::vector<std::string> args = arguments({game.log()});
    args.insert(args.end(), {"--poll", "0.05"});
    Recorder recorder(args, dir.path());
    recorder.start();
    play(game, [](int session) { return session < 3; });
    EXPECT_TRUE(waitFor([&] { return storedLogs(store()).size() >= 3; }, 30s));
    EXPECT_EQ(recorder.signal(SIGTERM), 0) << recorder.err();
    EXPECT_EQ(spools(archive()), sorted(game.sessions()));
    expectEachSessionStoredOnce(store(), game.sessions());
    EXPECT_NE(recorder.out().find("looking every 0.05 s"), std::string::npos) << recorder.out();
}

// Killed with SIGKILL at random moments (alone, or with an import it runs)
// and started again each time, the recorder ends with the spools and the
// season an undisturbed run ends with. ZEFA_RECORD_KILLS sets how many kills
// (scripts/record_kill_test.sh runs 200).
TEST_F(RecordCommandTest, KilledAtRandomMomentsEndsAsAnUndisturbedRun) {
    const char* count = std::getenv("ZEFA_RECORD_KILLS");
    const int kills = count ? std::atoi(count) : 40;
    SimulatedGame game(dir / "qconsole.log", 4, {300, 6ms, kQuietSpell});
    const FakeServer server(dir / "server", kToken, {});
    std::vector<std::string> args = arguments({game.log()});
    args.insert(args.end(), {"--send", server.url(), "--token-file", tokenFile().string()});
    Recorder recorder(args, dir.path());
    recorder.start();
    std::atomic<int> killed = 0;
    std::thread gameThread([&] { play(game, [&](int) { return killed < kills; }); });
    std::mt19937 random(kills);
    for (; killed < kills; ++killed) {
        // Now and then long enough for a quiet log to be imported.
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % (killed % 5 ? 400 : 2000)));
        (void)recorder.signal(SIGKILL, random() % 2 == 0);
        recorder.start();
    }
    gameThread.join();

    EXPECT_TRUE(
        waitFor([&] { return storedLogs(store()).size() >= game.sessions().size(); }, 40s));
    // Every ended session reached the server as it ended, once as a new
    // body (sent again after a kill, it was "already" there), in order.
    const std::vector<std::string> ended(game.sessions().begin(), game.sessions().end() - 1);
    EXPECT_TRUE(waitFor([&] { return server.bodies().size() >= ended.size(); }, 40s));
    EXPECT_EQ(recorder.signal(SIGTERM), 0) << recorder.err();
    EXPECT_EQ(spools(archive()), sorted(game.sessions()));
    expectEachSessionStoredOnce(store(), game.sessions());
    EXPECT_EQ(server.bodies(), ended);
    const std::string requests = server.requests();
    std::cout << kills << " kills across " << game.sessions().size() << " sessions; "
              << std::count(requests.begin(), requests.end(), '\n') << " uploads for "
              << ended.size() << " ended sessions\n";
}

TEST_F(RecordCommandTest, RefusesLogsAndArchivesItCannotUse) {
    const fs::path log = dir / "qconsole.log";
    fs::create_directories(dir / "folder.log");
    fs::create_directories(dir / "damaged/.recorder");
    test::writeFile(dir / "damaged/.recorder/state.json", "{\"version\": 1, \"logs\": 3}");
    const std::string damaged = (dir / "damaged").string();
    struct Refusal {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const std::string archive = RecordCommandTest::archive().string();
    const Refusal refusals[] = {
        {{(dir / "folder.log").string()}, 1, "/folder.log': it is a folder"},
        {{(dir / "gone/qconsole.log").string()}, 1, "there is no folder '" + (dir / "gone").string()},
        {{"--archive", damaged, log.string()}, 1, "/damaged/.recorder/state.json': not a recorder's"},
        {{"--archive", archive}, 2, "LOGS is required"},
        {{"--quiet", "0", log.string()}, 2, "--quiet"},
        {{"--send", "http://127.0.0.1:9", log.string()}, 2, "--token-file"},
        {{"--send", "ftp://127.0.0.1", "--token-file", tokenFile().string(), log.string()}, 2,
         "http:// or https://"},
        {{"--send", "http://127.0.0.1:9", "--token-file", tokenFile(0640).string(), log.string()},
         1, "other users may read or change it (mode 0640)"},
        {{(dir / "locked.log").string()}, geteuid() == 0 ? 0 : 1, "Permission denied"},
    };
    test::writeFile(dir / "locked.log", "");
    ::chmod((dir / "locked.log").c_str(), 0);
    for (const Refusal& refusal : refusals) {
        if (refusal.status == 0) continue;  // root reads every file
        std::vector<std::string> args = {"record", "--archive", archive};
        if (refusal.args[0] == "--archive") args.resize(1);
        args.insert(args.end(), refusal.args.begin(), refusal.args.end());
        const test::CommandResult result = runProgram(ZEFASTATS_BINARY, args);
        EXPECT_EQ(result.exitCode, refusal.status) << refusal.message;
        EXPECT_NE(result.err.find(refusal.message), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find(kToken), std::string::npos);
    }

    Recorder recorder({"--archive", archive, log.string()}, dir.path());
    recorder.start();
    ASSERT_TRUE(waitFor([&] { return recorder.out().find("following") != std::string::npos; }, 30s));
    const auto second = runProgram(ZEFASTATS_BINARY,
                                   {"record", "--archive", archive, (dir / "other.log").string()});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_NE(second.err.find("another recorder is using it"), std::string::npos) << second.err;
    EXPECT_EQ(recorder.signal(SIGTERM), 0);
}

// A session the season cannot take when it ends (here its folder is missing)
// stays in the archive and is imported at the next start; `season import`
// takes the archive's spools by hand as well, each session once.
TEST_F(RecordCommandTest, ASessionTheSeasonCannotTakeNowIsImportedAtTheNextStart) {
    const fs::path season = dir / "later/season.db";
    SimulatedGame game(dir / "qconsole.log", 5, {120, 1ms, 0ms});
    const std::vector<std::string> args = {"--archive", archive().string(), "--season",
                                           season.string(), game.log().string()};
    Recorder recorder(args, dir.path());
    recorder.start();
    play(game, [](int session) { return session < 2; });
    ASSERT_TRUE(waitFor([&] { return recorder.err().find("cannot import") != std::string::npos; },
                        30s));
    EXPECT_EQ(recorder.signal(SIGTERM), 0);
    EXPECT_NE(recorder.err().find("it stays in the archive and is imported at the next session's "
                                  "end or start"),
              std::string::npos)
        << recorder.err();

    fs::create_directories(season.parent_path());
    recorder.start();
    EXPECT_TRUE(waitFor([&] { return storedLogs(season).size() == 1; }, 30s));
    EXPECT_EQ(recorder.signal(SIGTERM), 0);
    std::vector<std::string> byHand = {"season", "import", season.string()};
    for (const fs::directory_entry& spool : fs::directory_iterator(archive()))
        if (spool.is_regular_file()) byHand.push_back(spool.path().string());
    EXPECT_EQ(runProgram(ZEFASTATS_BINARY, byHand).exitCode, 0);
    expectEachSessionStoredOnce(season, game.sessions());
}

// A session imported while it was quiet and again when it ended is one match,
// read from its whole log.
TEST_F(RecordCommandTest, TheGrownLogReplacesTheShorterOne) {
    SimulatedGame game(dir / "qconsole.log", 6, {150, 1ms, kQuietSpell});
    Recorder recorder(arguments({game.log()}), dir.path());
    recorder.start();
    play(game, [](int session) { return session < 3; });  // the second has a quiet spell
    const std::string grown = game.sessions()[1];
    EXPECT_TRUE(waitFor(
        [&] {
            const auto logs = storedLogs(store());
            return logs.size() == game.sessions().size() &&
                   std::find(logs.begin(), logs.end(), grown) != logs.end();
        },
        30s));
    EXPECT_EQ(recorder.signal(SIGTERM), 0);
    expectEachSessionStoredOnce(store(), game.sessions());
}

// Each session goes to the server when it ends, in order; a busy server
// holds the outbox back for a while, and the token is never shown.
TEST_F(RecordCommandTest, SendsEachEndedSessionInOrderAndRetriesWhileTheServerIsBusy) {
    SimulatedGame game(dir / "qconsole.log", 7, {100, 1ms, 0ms});
    const FakeServer server(dir / "server", kToken, {"503"});
    Recorder recorder(sending(server, game.log()), dir.path());
    recorder.start();
    play(game, [](int session) { return session < 3; });
    const std::vector<std::string> ended(game.sessions().begin(), game.sessions().end() - 1);
    const std::string acknowledged = "sent to " + server.url() + ": stored as match 2";
    EXPECT_TRUE(waitFor([&] { return recorder.out().find(acknowledged) != std::string::npos; }, 30s))
        << recorder.out();
    EXPECT_EQ(recorder.signal(SIGTERM), 0) << recorder.err();
    EXPECT_EQ(server.bodies(), ended);

    const std::string requests = server.requests();
    EXPECT_TRUE(requests.starts_with("503\t")) << requests;
    const std::regex sent(R"(201\t/api/v1/recordings\?played-at=\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)"
                          R"(&game-version=auto&file=[-_0-9]+_qconsole(_2)?\.log\tapplication/octet-stream)");
    EXPECT_EQ(std::distance(std::sregex_iterator(requests.begin(), requests.end(), sent),
                            std::sregex_iterator()),
              2)
        << requests;
    // However many sessions have ended by then wait with the first.
    const std::regex heldBack(R"(answered 503: scripted; the outbox \(\d sessions?\) is sent again )"
                              R"(in 1 s and at the next start)");
    EXPECT_TRUE(std::regex_search(recorder.err(), heldBack)) << recorder.err();
    EXPECT_NE(readFile(archive() / ".recorder/state.json").find("\"toSend\": []"),
              std::string::npos);
    EXPECT_EQ((recorder.out() + recorder.err()).find(kToken), std::string::npos);
}

// A refused token stops sending; the outbox waits in the archive and is sent
// at the next start.
TEST_F(RecordCommandTest, StopsSendingWhenTheTokenIsRefusedAndSendsAtTheNextStart) {
    SimulatedGame game(dir / "qconsole.log", 8, {100, 1ms, 0ms});
    const FakeServer server(dir / "server", kToken, {"401"});
    Recorder recorder(sending(server, game.log()), dir.path());
    recorder.start();
    play(game, [](int session) { return session < 2; });
    ASSERT_TRUE(waitFor([&] { return recorder.err().find("sending stops") != std::string::npos; },
                        30s));
    EXPECT_EQ(recorder.signal(SIGTERM), 0);
    EXPECT_NE(recorder.err().find("answered 401: scripted: sending stops; the outbox (1 session) "
                                  "stays in the archive and is sent at the next start"),
              std::string::npos)
        << recorder.err();
    EXPECT_TRUE(server.bodies().empty());

    recorder.start();
    EXPECT_TRUE(waitFor([&] { return server.bodies().size() == 1; }, 30s));
    EXPECT_EQ(recorder.signal(SIGTERM), 0);
    EXPECT_EQ(server.bodies(), std::vector<std::string>{game.sessions()[0]});
}

}  // namespace
}  // namespace zefa::cli
