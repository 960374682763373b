#include "server/SeasonServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <initializer_list>
#include <map>
#include <nlohmann/json.hpp>
#include <thread>

#include "season/Sqlite.h"
#include "season/UploadToken.h"
#include "site/Gzip.h"
#include "support/HttpExchange.h"
#include "support/ScratchDir.h"

namespace zefa::server {
namespace {

namespace fs = std::filesystem;
using test::exchange;
using test::HttpAnswer;
using test::readFile;
using test::uploadRequest;
using Json = nlohmann::json;

constexpr std::string_view kSecret = "bytes outside the site";

std::string evening(const std::string& name) {
    return readFile(ZEFA_EXAMPLES_DIR "/evening/" + name);
}

// Whether the page holds one of `texts`.
bool holdsOne(std::string_view page, std::initializer_list<std::string_view> texts) {
    return std::any_of(texts.begin(), texts.end(), [page](std::string_view text) {
        return page.find(text) != std::string_view::npos;
    });
}

// The file as it is once the site's writer put one of `texts` into it, after
// at most 20 seconds.
std::string awaitText(const fs::path& file, std::initializer_list<std::string_view> texts) {
    std::string now;
    for (int tries = 0; tries < 200; ++tries) {
        now = readFile(file);
        if (holdsOne(now, texts)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return now;
}

// A server on a free port of 127.0.0.1 with a season of three tokens (one
// revoked, one with a label a page must escape) and its site.
class SeasonServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto store = season::SeasonStore::open(dir / "season.db",
                                               season::SeasonStore::OpenMode::CreateIfMissing);
        for (const std::string label : {"Viper", "Zed <b>&", "Gone"}) {
            tokens[label] = season::newUploadToken();
            store.addToken(label, season::uploadTokenHash(tokens[label]));
        }
        store.revokeToken("Gone");
        ServerOptions options;
        options.port = 0;
        options.store = dir / "season.db";
        options.siteFolder = site();
        options.siteOptions.look = {"Season", 0};
        options.siteOptions.builtInTheme = readFile(ZEFA_THEMES_DIR "/default.thm");
        options.siteOptions.matchTheme = options.siteOptions.builtInTheme;
        options.siteOptions.awards.fill(true);
        options.limits.maxBodyBytes = 1 << 20;
        options.limits.authFailuresPerMinute = 4;
        std::string whyNot;
        server = SeasonServer::start(std::move(store), options, whyNot);
        ASSERT_TRUE(server) << whyNot;
    }

    [[nodiscard]] fs::path site() const { return dir / "site"; }
    HttpAnswer send(const std::string& request) const { return exchange(server->port(), request); }

    test::ScratchDir dir;
    std::map<std::string, std::string> tokens;
    std::unique_ptr<SeasonServer> server;
};

// Each answer of the API in turn, on one season: what is stored, and why
// what is not is refused.
TEST_F(SeasonServerTest, UploadsAreAnsweredWithTheirOutcome) {
    const std::string log = evening("full.log");
    const std::string viper = tokens["Viper"];
    struct Case {
        std::string request;
        int status;
        std::string outcome;  // or the beginning of the reason of a refusal
    };
    const Case cases[] = {
        {uploadRequest(viper, log, "?file=full.log&played-at=2026-03-01T20:15:00Z"), 201, "stored"},
        {uploadRequest(tokens["Zed <b>&"], log), 200, "already"},
        {uploadRequest(viper, evening("late.log"), "?game-version=auto"), 200, "recording"},
        {uploadRequest(viper, log, "?played-at=yesterday"), 400, "played-at must be"},
        {uploadRequest(viper, log, "?game-version=3"), 400, "game-version must be"},
        {uploadRequest(viper, log, "?file=../x.log"), 400, "file must be"},
        {uploadRequest(viper, log, "", "text/plain"), 415, "send the log's bytes"},
        {uploadRequest(viper, std::string("\x7f" "ELF\x02\x01\x01\0\0\0", 10) + log), 422,
         "not a console log"},
        {uploadRequest(viper, "just some words\nand more\n"), 422, ""},
        {"POST /api/v1/recordings HTTP/1.1\r\nHost: x\r\nConnection: close\r\nAuthorization: "
         "Bearer " + viper + "\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
             std::to_string((1 << 20) + 1) + "\r\n\r\n" + log.substr(0, 1000),
         413, "the log is larger"},
        {"POST /api/v1/recordings HTTP/1.1\r\nHost: x\r\nConnection: close\r\nAuthorization: "
         "Bearer " + viper + "\r\nContent-Type: application/octet-stream\r\nTransfer-Encoding: "
         "chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n",
         411, "the request has no Content-Length"},
        {"GET /api/v1/recordings HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n", 405, ""},
        // Failed authentications: four from one address, then 429 even for a good token.
        {uploadRequest("", log), 401, "no token"},
        {uploadRequest("not-a-token", log), 401, "unknown token"},
        {uploadRequest(tokens["Gone"], log), 403, "the token 'Gone' is revoked"},
        {uploadRequest(viper + "x", log), 401, "unknown token"},
        {uploadRequest(viper, log), 429, "too many failed"},
    };
    for (const Case& c : cases) {
        const HttpAnswer answer = send(c.request);
        SCOPED_TRACE(c.request.substr(0, c.request.find('\r')) + " -> " + answer.body);
        EXPECT_EQ(answer.status, c.status);
        EXPECT_NE(answer.head.find("Content-Type: application/json"), std::string::npos);
        const Json body = Json::parse(answer.body, nullptr, false);
        if (c.status < 300) {
            EXPECT_EQ(body["outcome"], c.outcome);
            EXPECT_EQ(body["match"], 1);
            EXPECT_EQ(body["url"], "matches/1.html");
        } else {
            EXPECT_EQ(body["outcome"], "refused");
            EXPECT_TRUE(body["reason"].get<std::string>().starts_with(c.outcome));
        }
        if (c.status == 429) {
            EXPECT_NE(answer.head.find("Retry-After: "), std::string::npos);
        }
    }
    server.reset();  // an answer of success is sent only after the store committed
    season::Database db((dir / "season.db").string(), SQLITE_OPEN_READONLY);
    EXPECT_EQ(db.queryInteger("SELECT count(*) FROM match"), 1);
    EXPECT_EQ(db.queryInteger("SELECT count(*) FROM recording WHERE source = 'Viper'"), 2);
    EXPECT_EQ(db.queryInteger("SELECT uploads FROM upload_token WHERE label = 'Viper'"), 2);
}

// Two players send their own recordings of one match at the same moment:
// one match with two recordings, each sender named on its page as text.
TEST_F(SeasonServerTest, OneMatchSentByTwoTokensAtOnceIsOneMatchRecordedByBoth) {
    const auto sent = [this](const std::string& label, const std::string& log) {
        return std::async(std::launch::async,
                          [=, this] { return send(uploadRequest(tokens.at(label), log)); });
    };
    auto viper = sent("Viper", evening("early.log"));
    auto zed = sent("Zed <b>&", evening("joiner.log"));
    const int statuses = viper.get().status + zed.get().status;
    EXPECT_EQ(statuses, 201 + 200);
    // Both are stored before they are answered; the site may show the first alone for a moment.
    const auto bothOrders = {std::string_view("recorded by Viper, Zed &lt;b&gt;&amp;"),
                             std::string_view("recorded by Zed &lt;b&gt;&amp;, Viper")};
    const std::string page = awaitText(site() / "matches" / "1-season.html", bothOrders);
    EXPECT_TRUE(holdsOne(page, bothOrders)) << page.substr(0, 2000);
}

// Requests that could reach a file outside the site, or are no HTTP at all:
// each answered 4xx, and nothing outside the site's folder is read.
TEST_F(SeasonServerTest, HostilePathsAndHeadersAreRefused) {
    test::writeFile(dir / "secret.txt", std::string(kSecret));
    awaitText(site() / "index.html", {"</html>"});
    fs::create_directories(site() / "players");
    fs::create_symlink("../../secret.txt", site() / "players" / "evil.html");
    fs::create_directory_symlink(dir.path(), site() / "players" / "out");
    const std::string end = " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
    const std::vector<std::string> targets = {
        "/../secret.txt", "/%2e%2e/secret.txt", "/%2E%2E/secret.txt", "/..%2fsecret.txt",
        "/..%2Fsecret.txt", "/%2e%2e%2fsecret.txt", "/.%2e/secret.txt", "/..\\secret.txt",
        "/..%5csecret.txt", "/players/..%2f..%2fsecret.txt", "/players/%2e%2e/%2e%2e/secret.txt",
        "/a/../../secret.txt", "/index.html%00.txt", "/%00", "/%", "/%ZZ", "/index.html%",
        "//etc/passwd", "/%2f%2fetc/passwd", "/etc/passwd", "/players/evil.html",
        "/players/out/secret.txt", "/.zefa-site", "/%2ezefa-site", "/..;/secret.txt",
        "/%252e%252e/secret.txt", "/%c0%ae%c0%ae/secret.txt", "/matches", "/players/",
        "/upload/../secret.txt", "/api/v1/recordings/../../secret.txt",
        "http://127.0.0.1/../secret.txt", "/" + std::string(5000, 'a') + ".html",
    };
    std::vector<std::string> requests;
    for (const std::string& target : targets) requests.push_back("GET " + target + end);
    for (const std::string& raw : std::vector<std::string>{
             "DELETE /index.html" + end,
             "OPTIONS *" + end,
             "GET /index.html HTTP/1.1\r\nConnection: close\r\n\r\n",  // no Host
             "GET /index.html HTTP/1.1\r\nHost: x\r\nNo colon here\r\nConnection: close\r\n\r\n",
             "GET /index.html HTTP/1.1\r\nHost: x\r\nContent-Length: 1\r\nContent-Length: "
             "2\r\nConnection: close\r\n\r\nab",
             "POST /api/v1/recordings HTTP/1.1\r\nHost: x\r\nContent-Length: 4\r\n"
             "Transfer-Encoding: chunked\r\nConnection: close\r\n\r\n0\r\n\r\n",
             "GET /index.html HTTP/1.1\r\nHost: x\r\nContent-Length: -1\r\nConnection: close\r\n\r\n",
             "GET /index.html HTTP/1.1\r\nHost: x\r\n" + std::string(70000, 'X') + ": y" + end.substr(18),
             "POST /upload HTTP/1.1\r\nHost: x\r\nContent-Type: multipart/form-data; "
             "boundary=b\r\nContent-Length: 3\r\nConnection: close\r\n\r\n--b",
         })
        requests.push_back(raw);
    ASSERT_GE(requests.size(), 30U);
    for (const std::string& request : requests) {
        const HttpAnswer answer = send(request);
        SCOPED_TRACE(request.substr(0, 120));
        EXPECT_GE(answer.status, 400);
        EXPECT_LT(answer.status, 500);
        EXPECT_EQ(answer.body.find(kSecret), std::string::npos);
    }
    // The site itself is served, with what keeps a browser from doing more than it needs.
    const HttpAnswer index = send("GET /" + end);
    EXPECT_EQ(index.status, 200);
    for (const char* header : {"Content-Security-Policy: default-src 'none'",
                               "X-Content-Type-Options: nosniff", "Referrer-Policy: no-referrer"})
        EXPECT_NE(index.head.find(header), std::string::npos) << header;
    const std::size_t etag = index.head.find("ETag: ");
    ASSERT_NE(etag, std::string::npos);
    const std::string tag = index.head.substr(etag + 6, index.head.find('\r', etag) - etag - 6);
    EXPECT_EQ(send("GET / HTTP/1.1\r\nHost: x\r\nIf-None-Match: " + tag +
                   "\r\nConnection: close\r\n\r\n")
                  .status,
              304);
}

// A page kept compressed goes out compressed to a client that takes gzip,
// plain to one that does not, each with its own tag.
TEST_F(SeasonServerTest, CompressedPagesAreSentAsTheClientTakesThem) {
    awaitText(site() / "index.html", {"</html>"});
    const std::string page = "<html><p>" + std::string(3000, 'k') + "</p></html>";
    const std::string stream = site::gzip(page);
    test::writeFile(site() / "matches" / "77.html.gz", stream);
    const auto get = [&](const std::string& accept) {
        return send("GET /matches/77.html HTTP/1.1\r\nHost: x\r\n" + accept +
                    "Connection: close\r\n\r\n");
    };
    const HttpAnswer packed = get("Accept-Encoding: deflate, gzip;q=0.5\r\n");
    EXPECT_EQ(packed.status, 200);
    EXPECT_EQ(packed.body, stream);
    EXPECT_NE(packed.head.find("Content-Encoding: gzip"), std::string::npos);
    for (const std::string accept : {"", "Accept-Encoding: gzip;q=0, br\r\n"}) {
        const HttpAnswer plain = get(accept);
        EXPECT_EQ(plain.status, 200);
        EXPECT_EQ(plain.body, page) << accept;
        EXPECT_EQ(plain.head.find("Content-Encoding"), std::string::npos);
        EXPECT_NE(plain.head.find("Vary: Accept-Encoding"), std::string::npos);
    }
    EXPECT_NE(packed.head.substr(packed.head.find("ETag")).substr(0, 40),
              get("").head.substr(get("").head.find("ETag")).substr(0, 40));
    test::writeFile(site() / "matches" / "78.html.gz", stream.substr(0, 40));
    EXPECT_EQ(send("GET /matches/78.html HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n")
                  .status,
              500);
}

}  // namespace
}  // namespace zefa::server
