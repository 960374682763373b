#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace zefa::cli {
namespace {

using test::runProgram;

// Every subcommand opens its store through the same base, which words the
// store's errors: one line naming the store and the reason, exit status 1.
TEST(StoreCommandTest, EverySubcommandWordsTheStoresErrorsAlike) {
    const test::ScratchDir dir;
    const std::string none = (dir / "none.db").string();
    const std::string log = ZEFA_EXAMPLES_DIR "/beta2-ctf.log";
    const std::vector<std::vector<std::string>> unopened = {
        {"import", (dir / "no/such.db").string(), log},
        {"players", none},
        {"matches", none},
        {"merge", none, "a", "b"},
        {"unmerge", none, "a"},
        {"rename", none, "a", "b"},
        {"forget", none, "1"},
        {"recordings", none, "1"},
        {"export", none, "--json", "-"},
        {"site", none, "-o", (dir / "site").string()},
    };
    for (std::vector<std::string> args : unopened) {
        const std::string store = args[1];
        args.insert(args.begin(), "season");
        const auto result = runProgram(ZEFASTATS_BINARY, args);
        EXPECT_EQ(result.exitCode, 1) << args[1];
        EXPECT_EQ(result.err, "zefastats: cannot open season store '" + store +
                                  "': No such file or directory\n");
    }

    const std::string store = (dir / "season.db").string();
    ASSERT_EQ(runProgram(ZEFASTATS_BINARY, {"season", "import", store, log}).exitCode, 0);
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"merge", store, "jax", "JAX"}, "cannot merge: 'jax' and 'jax' are one player already"},
        {{"merge", store, "a", "jax"},
         "cannot merge: no match has a player 'a'; the closest: 'jax', 'mira', 'nova'"},
        {{"unmerge", store, "a"}, "cannot unmerge: 'a' is not merged into anyone"},
        {{"forget", store, "99"}, "cannot forget match 99: no such match in '" + store + "'"},
        {{"forget", store, "--recording", "ab"},
         "cannot forget recording ab: no such recording in '" + store + "'"},
        {{"recordings", store, "9"},
         "cannot list the recordings of match 9: no such match in '" + store + "'"},
    };
    for (auto [args, message] : refused) {
        args.insert(args.begin(), "season");
        const auto result = runProgram(ZEFASTATS_BINARY, args);
        EXPECT_EQ(result.exitCode, 1) << args[1];
        EXPECT_EQ(result.err, "zefastats: " + message + "\n");
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(runProgram(ZEFASTATS_BINARY, {"season", "forget", store}).exitCode, 2);
}

}  // namespace
}  // namespace zefa::cli
