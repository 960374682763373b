#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>
#include <thread>

#include "support/HttpExchange.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace zefa::cli {
namespace {

using test::CommandResult;
using test::readFile;

CommandResult zefastats(const std::vector<std::string>& args) {
    return test::runProgram(ZEFASTATS_BINARY, args);
}

// Tokens are made, listed and revoked; the token is printed once and kept
// nowhere as text.
TEST(TokenCommandTest, TokensAreAddedListedAndRevokedByLabel) {
    const test::ScratchDir dir;
    const std::string store = (dir / "season.db").string();
    const CommandResult added = zefastats({"season", "token", "add", store, "Viper"});
    ASSERT_EQ(added.exitCode, 0) << added.err;
    EXPECT_TRUE(std::regex_match(added.out, std::regex("[A-Za-z0-9_-]{32}\n")));
    EXPECT_EQ(readFile(store).find(added.out.substr(0, 32)), std::string::npos);
    EXPECT_NE(zefastats({"season", "token", "add", store, "Viper"}).exitCode, 0);
    EXPECT_EQ(zefastats({"season", "token", "add", store, "imported"}).exitCode, 2);
    EXPECT_EQ(zefastats({"season", "token", "revoke", store, "Viper"}).exitCode, 0);
    EXPECT_NE(zefastats({"season", "token", "revoke", store, "Zed"}).exitCode, 0);
    const std::string listed = zefastats({"season", "token", "list", store}).out;
    EXPECT_TRUE(std::regex_search(
        listed, std::regex("\nViper +\\d{4}-[0-9-]{5}T[0-9:]{8}Z +- +0  \\d{4}-[0-9-]{5}T")))
        << listed;
}

// The server takes an upload, logs it without its token, and on SIGTERM
// finishes and exits 0; the recording remembers who sent it.
TEST(ServeCommandTest, ServesUntilSigtermAndLogsNoToken) {
    const test::ScratchDir dir;
    const std::string store = (dir / "season.db").string();
    const std::string token =
        zefastats({"season", "token", "add", store, "Viper"}).out.substr(0, 32);
    const std::string errors = (dir / "err").string();
    const pid_t child = fork();
    if (child == 0) {
        std::freopen(errors.c_str(), "w", stderr);
        execl(ZEFASTATS_BINARY, ZEFASTATS_BINARY, "season", "serve", store.c_str(), "--listen",
              "127.0.0.1:0", nullptr);
        _exit(127);
    }
    std::smatch port;
    const std::regex serving("on http://127\\.0\\.0\\.1:(\\d+)/");
    std::string said;
    for (int tries = 0; tries < 200 && !std::regex_search(said, port, serving); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        said = readFile(errors);
    }
    ASSERT_FALSE(port.empty()) << said;
    const std::string log = readFile(ZEFA_EXAMPLES_DIR "/evening/full.log");
    const test::HttpAnswer answer = test::exchange(
        static_cast<std::uint16_t>(std::stoi(port[1])),
        test::uploadRequest(token, log, "?file=full.log&played-at=2026-03-01T20:15:00Z"));
    EXPECT_EQ(answer.status, 201) << answer.body;
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    said = readFile(errors);
    EXPECT_TRUE(std::regex_search(said, std::regex("127\\.0\\.0\\.1 POST /api/v1/recordings 201 "
                                                   "[0-9.]+s Viper\n")))
        << said;
    EXPECT_EQ(said.find(token), std::string::npos);
    EXPECT_NE(zefastats({"season", "recordings", store, "1"}).out.find("  Viper         full.log"),
              std::string::npos);
}

}  // namespace
}  // namespace zefa::cli
