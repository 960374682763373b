#include <gtest/gtest.h>

#include "support/FakeRecordingsServer.h"
#include "support/ScratchDir.h"
#include "upload/SpoolUpload.h"

namespace zefa::upload {
namespace {

using Kind = record::ImportOutcome::Kind;
using namespace std::chrono_literals;

TEST(SpoolUploadTest, PutsEveryAnswerInTheRecordersTerms) {
    const test::ScratchDir dir;
    const std::string token = "q7Xv2LpR9sTz4KwN8mJcYa";
    const test::FakeRecordingsServer server(dir / "server", token,
                                            {"422", "429", "502", "403", "404"});
    const std::string url = server.url();
    const auto spool = dir / "2026-03-01_20-15-03_qconsole.log";
    test::writeFile(spool, "a console log\n");
    struct Expected {
        Kind kind;
        std::string words;
        std::chrono::seconds retryAfter{0};
    };
    const Expected answers[] = {
        {Kind::Refused, url + " answered 422: scripted"},
        {Kind::Failed, url + " answered 429: scripted", 1s},
        {Kind::Failed, url + " answered 502: scripted"},
        {Kind::Denied, url + " answered 403: scripted"},
        {Kind::Denied, url + " answered 404: scripted"},
        {Kind::Imported, "sent to " + url + ": stored as match 1"},
        {Kind::Imported, "sent to " + url + ": already stored as match 1"},
    };
    for (const Expected& expected : answers) {
        const record::ImportOutcome outcome = uploadSpool({url, token}, spool);
        EXPECT_EQ(outcome.kind, expected.kind) << outcome.words;
        EXPECT_EQ(outcome.words, expected.words);
        EXPECT_EQ(outcome.retryAfter, expected.retryAfter) << outcome.words;
    }
    EXPECT_EQ(uploadSpool({url, "unknown"}, spool).kind, Kind::Denied);
    EXPECT_EQ(server.bodies(), std::vector<std::string>{"a console log\n"});

    const record::ImportOutcome unreachable = uploadSpool({"http://127.0.0.1:1", token}, spool);
    EXPECT_EQ(unreachable.kind, Kind::Failed);
    EXPECT_TRUE(unreachable.words.starts_with("http://127.0.0.1:1 cannot be reached: "))
        << unreachable.words;
    EXPECT_EQ(uploadSpool({url, token}, dir / "gone.log").kind, Kind::Refused);
}

}  // namespace
}  // namespace zefa::upload
