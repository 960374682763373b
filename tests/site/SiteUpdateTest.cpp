#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <sys/stat.h>

#include "model/Weapons.h"
#include "season/SeasonJson.h"
#include "site/Gzip.h"
#include "site/SitePages.h"
#include "site/SitePaths.h"
#include "site/SiteUpdate.h"
#include "support/ScratchDir.h"

namespace zefa::site {
namespace {

namespace fs = std::filesystem;
using season::MatchPlayer;
using season::SeasonMatch;
using season::SeasonPlayer;
using test::readFile;

const std::string kScript = "<script>alert(1)</script>";
const std::string kImage = "\"><img src=x onerror=alert(1)>";
constexpr std::time_t kClock = 1700000000;

MatchPlayer record(const std::string& key, std::int32_t kills, std::int32_t rank) {
    MatchPlayer player;
    player.key = key;
    player.name = "^1" + key + "^7";
    player.rank = rank;
    player.counters.kills = kills;
    player.counters.deaths = 2;
    player.counters.weapKills[kRocketDirect] = kills;
    player.awards = {0};
    player.rating = {25.0 + rank, 8.0};
    return player;
}

// A season of the two example logs, its players named to break pages.
class SiteUpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        addMatch(1, "beta1h-ctf.log", 1, {record(kImage, 3, 10), record(kScript, 5, 20)});
        addMatch(2, "beta2-ctf.log", 2, {record(kScript, 4, 12), record("plain", 1, 2)});
        recount();
        options.builtInTheme = readFile(fs::path(ZEFA_THEMES_DIR) / "default.thm");
        options.matchTheme = options.builtInTheme;
        options.awards.fill(true);
        options.clock = kClock;
        options.look.title = "^3" + kScript;
        options.look.minMatches = 1;
    }
    void addMatch(std::int64_t id, const std::string& log, std::int32_t version,
                  std::vector<MatchPlayer> players) {
        SeasonMatch match;
        match.id = id;
        match.file = id == 2 ? kImage + ".log" : log;
        match.sha256 = std::string(64, char('0' + id));
        match.playedAt = 1765000000 + id * 86400;
        match.gameVersion = version;
        match.recordings = static_cast<std::int32_t>(id);
        match.players = std::move(players);
        snapshot.matches.push_back(match);
        logs[id] = {readFile(fs::path(ZEFA_EXAMPLES_DIR) / log), version, log};
    }

    // Season players as the store would sum them.
    void recount() {
        std::map<std::string, SeasonPlayer> players;
        for (const SeasonMatch& match : snapshot.matches)
            for (const MatchPlayer& one : match.players) {
                SeasonPlayer& player = players[one.key];
                player.key = one.key;
                player.name = one.name;
                ++player.matches;
                player.counters.kills += one.counters.kills;
                player.counters.deaths += one.counters.deaths;
                player.counters.weapKills[kRocketDirect] += one.counters.weapKills[kRocketDirect];
                player.rank += one.rank;
                player.awardsWon += std::int32_t(one.awards.size());
                player.rating = one.rating;
            }
        players[kScript].killsByVictim = {{kImage, 3}, {"plain", 1}};
        players[kImage].killsByVictim = {{kScript, 4}};
        snapshot.players.clear();
        for (auto& [key, player] : players) snapshot.players.push_back(player);
    }

    StoredLogReader reader() {
        return [this](std::int64_t id) {
            if (!logs.count(id))
                throw season::SeasonError(season::SeasonError::Kind::Refused, "", "not stored");
            return logs[id];
        };
    }

    SiteReport write() {
        return updateSite(folder, snapshot, writeJson, reader(), options);
    }

    // Written while the season is read, by `read`, which is shown the
    // matches and reads the season they name: the files of each match are
    // made before the season is handed over.
    SiteReport writeWhileRead(const std::function<const SiteSeason&()>& read,
                              const std::optional<SiteRecord>& earlier = std::nullopt) {
        std::vector<season::MatchHeading> matches;
        for (const SeasonMatch& match : snapshot.matches)
            matches.push_back({match.id, match.playedAt, match.sha256, match.gameVersion});
        const SeasonUnderWay season{[&](const auto& name, const auto& pass) -> const SiteSeason& {
            name(std::move(matches));
            for (const SeasonMatch& match : snapshot.matches)
                if (pass) pass(match);
            return read();
        }};
        return updateSite(folder, season, earlier, {writeJson, reader(), {}}, options);
    }

    std::vector<fs::path> pages() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            if (entry.path().extension() == ".html") found.push_back(entry.path());
        return found;
    }

    const DocumentWriter writeJson = [](std::ostream& out) { out << "{\"formatVersion\": 1}\n"; };
    const test::ScratchDir scratch;
    const fs::path folder = scratch / "site";
    season::SeasonSnapshot snapshot;
    std::map<std::int64_t, season::StoredLog> logs;
    SiteOptions options;
};

TEST_F(SiteUpdateTest, HostileNamesStayTextOnEveryPage) {
    // A match whose log itself names them.
    addMatch(3, "beta2-ctf.log", 2, {record(kImage, 1, 1)});
    logs[3].bytes = kImage + "^7 was nailed by " + kScript + "^7\n" + kScript +
                    "^7 was gunned down by " + kImage + "^7\n";
    recount();
    ASSERT_TRUE(write().ok());
    ASSERT_EQ(pages().size(), 11u);
    ASSERT_NE(readFile(folder / matchPagePath(3)).find("&lt;script&gt;alert(1)"),
              std::string::npos);
    for (const fs::path& page : pages()) {
        const std::string html = readFile(page);
        EXPECT_EQ(html.find("<script>alert"), std::string::npos) << page;
        EXPECT_EQ(html.find("<img"), std::string::npos) << page;
    }
    const std::string index = readFile(folder / "index.html");
    EXPECT_NE(index.find(".log <span class=\"no\">recorded by 2 clients</span>"),
              std::string::npos);
    EXPECT_NE(index.find("<title>&lt;script&gt;alert(1)&lt;/script&gt;</title>"), std::string::npos);
    EXPECT_NE(index.find("<font class=\"color1\">&lt;script&gt;"), std::string::npos);
    const std::string player = readFile(folder / playerPagePath(kImage));
    EXPECT_NE(player.find("title=\"&quot;&gt;&lt;img src=x onerror=alert(1)&gt;\""),
              std::string::npos);
    EXPECT_NE(player.find("<title id=\"rating-t\">Rating history of &quot;&gt;&lt;img"),
              std::string::npos);
}

TEST_F(SiteUpdateTest, EveryRelativeLinkResolvesToAFileOfTheSite) {
    ASSERT_TRUE(write().ok());
    const std::regex link("(?:href|src)=\"([^\"]*)\"");
    int links = 0;
    for (const fs::path& page : pages()) {
        const std::string html = readFile(page);
        for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it) {
            const std::string target = (*it)[1].str().substr(0, (*it)[1].str().find('#'));
            if (target.empty() || target.rfind("mailto:", 0) == 0) continue;
            ASSERT_EQ(target.find(':'), std::string::npos) << page << " links out: " << target;
            EXPECT_TRUE(fs::is_regular_file(page.parent_path() / target)) << page << ": " << target;
            ++links;
        }
    }
    EXPECT_GT(links, 20);
}

TEST_F(SiteUpdateTest, MatchPageIsTheCommandsPageForItsLog) {
    options.awards[3] = false;
    ASSERT_TRUE(write().ok());
    for (const auto& [id, log] : logs) {
        const fs::path expected = folder / ("expected" + std::to_string(id));
        const std::string command =
            "SOURCE_DATE_EPOCH=" + std::to_string(kClock) + " TZ=UTC " + ZEFASTATS_BINARY + " -g " +
            std::to_string(log.gameVersion) + " -a 0,1,2,4,5,6,7,8,9,10,11,12,13,14,15,16,17 " +
            ZEFA_EXAMPLES_DIR + "/" + (id == 1 ? "beta1h-ctf.log" : "beta2-ctf.log") + " -o " +
            expected.string();
        ASSERT_EQ(std::system(command.c_str()), 0);
        // Equal but for the time the reading took, which no two runs share.
        const std::regex duration("read in <b>[0-9.]+</b>");
        EXPECT_TRUE(std::regex_replace(readFile(folder / matchPagePath(id)), duration, "") ==
                    std::regex_replace(readFile(expected), duration, ""))
            << id;
    }
}

// Compressed match pages replace the plain ones and back, and hold the same
// page; a stream cut short or larger than asked is refused.
TEST_F(SiteUpdateTest, CompressedMatchPagesHoldThePagesThemselves) {
    ASSERT_TRUE(write().ok());
    const std::regex duration("read in <b>[0-9.]+</b>");
    const std::string page = matchPagePath(1);
    const std::string plain = std::regex_replace(readFile(folder / page), duration, "");
    options.gzipMatchPages = true;
    ASSERT_TRUE(write().ok());
    EXPECT_FALSE(fs::exists(folder / page));
    const std::string stream = readFile(folder / (page + ".gz"));
    const auto unpacked = gunzip(stream, 1 << 20);
    ASSERT_TRUE(unpacked);
    EXPECT_EQ(std::regex_replace(*unpacked, duration, ""), plain);
    EXPECT_LT(stream.size() * 4, unpacked->size());
    EXPECT_FALSE(gunzip(stream.substr(0, stream.size() - 1), 1 << 20));
    EXPECT_FALSE(gunzip(stream, unpacked->size() - 1));
    EXPECT_FALSE(gunzip(stream + "x", 1 << 20));
    EXPECT_EQ(write().written, 0);
    options.gzipMatchPages = false;
    ASSERT_TRUE(write().ok());
    EXPECT_FALSE(fs::exists(folder / (page + ".gz")));
    EXPECT_TRUE(fs::exists(folder / page));
}

TEST_F(SiteUpdateTest, RebuildRewritesOnlyWhatChangedAndRemovesWhatIsGone) {
    SiteReport report = write();
    EXPECT_EQ(report.written, 9);
    report = write();
    EXPECT_EQ(report.written, 0);
    EXPECT_EQ(report.kept, 9);

    // One more match of two players: its two pages, the season's page of the
    // match before (which now leads to it), the index, the match list and
    // the pages of those two.
    addMatch(3, "beta2-ctf.log", 2, {record(kImage, 2, 5), record("plain", 2, 6)});
    recount();
    report = write();
    EXPECT_EQ(report.written, 7);
    EXPECT_EQ(report.kept, 4);

    // A forgotten match and a player merged away.
    snapshot.matches.erase(snapshot.matches.begin() + 1);
    snapshot.matches.back().players.pop_back();
    recount();
    report = write();
    EXPECT_EQ(report.removed, 3);
    EXPECT_FALSE(fs::exists(folder / matchPagePath(2)));
    EXPECT_FALSE(fs::exists(folder / matchSeasonPagePath(2)));
    EXPECT_FALSE(fs::exists(folder / playerPagePath("plain")));

    // Another theme makes every match page again.
    options.matchTheme = readFile(fs::path(ZEFA_THEMES_DIR) / "classic.thm");
    report = write();
    EXPECT_EQ(report.written, 2);
}

// Beyond one page of matches the season's JSON is in the data files alone,
// which hold what the whole document holds.
TEST_F(SiteUpdateTest, ALongSeasonKeepsItsJsonInSmallFilesAlone) {
    ASSERT_TRUE(write().ok());
    ASSERT_TRUE(fs::exists(folder / "season.json"));
    for (std::int64_t id = 3; id <= std::int64_t(kListPageRows) + 1; ++id) {
        addMatch(id, "beta2-ctf.log", 2, {record("plain", 1, 1)});
        logs[id].bytes.clear();  // an empty page is made fastest
    }
    recount();
    ASSERT_TRUE(write().ok());
    EXPECT_FALSE(fs::exists(folder / "season.json"));
    EXPECT_NE(readFile(folder / "index.html").find("<a href=\"data/index.json\">"),
              std::string::npos);

    const auto json = [this](const std::string& file) {
        return nlohmann::json::parse(readFile(folder / "data" / file));
    };
    const nlohmann::json whole = nlohmann::json::parse(season::seasonJson(snapshot));
    const nlohmann::json index = json("index.json");
    EXPECT_EQ(index["matchCount"], kListPageRows + 1);
    EXPECT_EQ(index["playerCount"], snapshot.players.size());
    EXPECT_EQ(index["matchPages"], nlohmann::json({"matches-1.json", "matches-2.json"}));
    EXPECT_EQ(json("matches-1.json")["matches"].size(), kListPageRows);
    const nlohmann::json last = json("matches-2.json")["matches"];
    ASSERT_EQ(last.size(), 1U);
    EXPECT_EQ(json(last[0]["file"]), whole["matches"].back());
    EXPECT_EQ(json("matches/2.json"), whole["matches"][1]);

    const nlohmann::json players = json("players.json")["players"];
    ASSERT_EQ(players.size(), snapshot.players.size());
    nlohmann::json player = json(players.back()["file"]);
    EXPECT_EQ(player["key"], "plain");
    EXPECT_EQ(player["matchIds"].size(), kListPageRows);
    EXPECT_EQ(player["matchIds"][1], 3);
    player.erase("matchIds");
    EXPECT_EQ(player, whole["players"].back());
}

// Only files the site wrote are ever removed; a folder of other files and no
// earlier site is not written into unless that is allowed, and then nothing
// of them is replaced.
TEST_F(SiteUpdateTest, FilesOfOthersAreNeverRemovedNorReplaced) {
    const std::map<std::string, std::string> others = {
        {"players/custom.html", "mine"}, {"matches/99.html", "mine too"}, {"index.html", "home"}};
    fs::create_directories(folder / "players");
    fs::create_directories(folder / "matches");
    for (const auto& [page, bytes] : others) test::writeFile(folder / page, bytes);
    const auto untouched = [&] {
        for (const auto& [page, bytes] : others) EXPECT_EQ(readFile(folder / page), bytes) << page;
    };

    SiteReport report = write();
    EXPECT_TRUE(report.refused.starts_with("it holds files that are not of a season's site"))
        << report.refused;
    EXPECT_EQ(report.written, 0);
    options.allowOtherFiles = true;
    EXPECT_EQ(write().refused, "'" + (folder / "index.html").string() +
                                   "' is there already and not of a season's site");
    EXPECT_FALSE(fs::exists(folder / matchPagePath(1)));
    untouched();

    fs::remove(folder / "index.html");
    report = write();
    EXPECT_TRUE(report.ok()) << report.refused;
    EXPECT_EQ(report.written, 9);
    // The site's record now says what is the site's: a later run needs no
    // permission and removes only its own pages.
    options.allowOtherFiles = false;
    snapshot.matches.pop_back();
    recount();
    report = write();
    EXPECT_TRUE(report.ok()) << report.refused;
    EXPECT_EQ(report.removed, 3);
    EXPECT_FALSE(fs::exists(folder / matchPagePath(2)));
    EXPECT_EQ(readFile(folder / "players/custom.html"), "mine");
    EXPECT_EQ(readFile(folder / "matches/99.html"), "mine too");

    for (const fs::path& unfit : {fs::path(), fs::path("/"), fs::path("/tmp/..")})
        EXPECT_NE(unfitFolder(unfit), "") << unfit;
    EXPECT_EQ(unfitFolder(folder), "");
}

// A site written before every file was recorded listed its match pages only:
// they count as the site's, the rest is left alone. A record naming files
// outside the site's shape is not followed.
TEST_F(SiteUpdateTest, AnEarlierSiteIsTakenOverByWhatItsRecordListed) {
    ASSERT_TRUE(write().ok());
    test::writeFile(folder / ".zefastats-site",
                    "matches/1.html\t1\nmatches/2.html\t2\n../outside.html\t\n"
                    "players/../../outside.html\t\n" +
                        (scratch / "outside.html").string() + "\t\n");
    test::writeFile(scratch / "outside.html", "kept");
    test::writeFile(folder / "players/custom.html", "mine");
    snapshot.matches.pop_back();
    snapshot.players.pop_back();  // "plain", who played match 2 only
    const SiteReport report = write();
    EXPECT_TRUE(report.ok()) << report.refused;
    EXPECT_EQ(report.removed, 1);
    EXPECT_FALSE(fs::exists(folder / matchPagePath(2)));
    EXPECT_TRUE(fs::exists(folder / playerPagePath("plain"))) << "not in the earlier record";
    EXPECT_EQ(readFile(folder / "players/custom.html"), "mine");
    EXPECT_EQ(readFile(scratch / "outside.html"), "kept");
    const std::string record = readFile(folder / ".zefastats-site");
    EXPECT_NE(record.find("\nindex.html\t"), std::string::npos);
    EXPECT_EQ(record.find("outside"), std::string::npos);
}

TEST_F(SiteUpdateTest, AStoredLogThatCannotBeReadIsNamedAndItsEarlierPageKept) {
    ASSERT_TRUE(write().ok());
    options.clock = kClock + 1;
    logs.erase(2);
    const SiteReport report = write();
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_EQ(report.problems[0], "cannot read the stored log of match 2: not stored");
    EXPECT_TRUE(fs::exists(folder / matchPagePath(2)));
}

// The matches a long season reads whole again for their data are read on a
// thread of their own: a reading that fails there, even after its last
// match, fails the run as it would on the site's own thread.
TEST_F(SiteUpdateTest, AReadingOfTheMatchesWholeThatFailsFailsTheRun) {
    SiteSeason season = siteSeason(snapshot);
    season.wholeMatches.clear();  // as a long season holds none
    const WholeMatchReader failing = [this](const auto& take) {
        for (const SeasonMatch& match : snapshot.matches) take(match);
        throw season::SeasonError(season::SeasonError::Kind::Failed, "", "changed meanwhile");
    };
    EXPECT_THROW((void)updateSite(folder, season, std::nullopt, {writeJson, reader(), failing},
                                  options),
                 season::SeasonError);
}

// A reading of the season that fails once the match pages are on their way
// fails the run, and leaves no file that the site's record does not list:
// a new site's, and an earlier one's with a new match.
TEST_F(SiteUpdateTest, AReadingOfTheSeasonThatFailsAfterItsMatchesLeavesEveryFileRecorded) {
    const auto failing = []() -> const SiteSeason& {
        throw season::SeasonError(season::SeasonError::Kind::Failed, "", "disk I/O error");
    };
    const auto expectEveryFileRecorded = [this] {
        const std::optional<SiteRecord> record = SiteRecord::read(folder);
        ASSERT_TRUE(record);
        std::size_t files = 0;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            const std::string page = fs::relative(entry.path(), folder).string();
            if (!entry.is_regular_file() || page == SiteRecord::kFileName) continue;
            EXPECT_TRUE(record->lists(page)) << page;
            ++files;
        }
        EXPECT_GT(files, 0U);
    };
    EXPECT_THROW((void)writeWhileRead(failing), season::SeasonError);
    expectEveryFileRecorded();

    fs::remove_all(folder);
    ASSERT_TRUE(write().ok());
    addMatch(3, "beta2-ctf.log", 2, {record(kImage, 1, 1)});
    EXPECT_THROW((void)writeWhileRead(failing, SiteRecord::read(folder)), season::SeasonError);
    EXPECT_TRUE(fs::exists(folder / matchPagePath(3)));
    expectEveryFileRecorded();
}

TEST_F(SiteUpdateTest, MatchPagesMadeOnManyThreadsOrAheadOfTheSeasonMakeTheSiteOfOne) {
    for (std::int64_t id = 3; id <= 8; ++id)
        addMatch(id, id % 2 ? "beta1h-ctf.log" : "beta2-ctf.log", id % 2 ? 1 : 2,
                 {record(kScript, std::int32_t(id), 12), record("plain", 1, 2)});
    recount();
    logs.erase(5);
    options.threads = 1;
    const SiteReport one = write();
    const fs::path oneFolder = scratch / "one";
    fs::rename(folder, oneFolder);
    options.threads = 3;
    // The time a match page took to make is the one thing that may differ.
    const auto expectAsMadeOnOne = [&](const SiteReport& report) {
        EXPECT_EQ(report.written, one.written);
        EXPECT_EQ(report.problems, one.problems);
        const std::regex took("read in <b>[0-9.]+</b>");
        std::size_t files = 0;
        for (const auto& entry : fs::recursive_directory_iterator(oneFolder)) {
            if (!entry.is_regular_file()) continue;
            const fs::path relative = fs::relative(entry.path(), oneFolder);
            EXPECT_EQ(std::regex_replace(readFile(folder / relative), took, ""),
                      std::regex_replace(readFile(entry.path()), took, ""))
                << relative;
            ++files;
        }
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (!entry.is_regular_file()) continue;
            --files;
            EXPECT_EQ(entry.status().permissions() & fs::perms::all,
                      fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
                << entry.path();  // the usual ones, less the umask of the run
        }
        EXPECT_EQ(files, 0U);  // no file more either
    };
    const mode_t mask = ::umask(027);
    expectAsMadeOnOne(write());
    fs::remove_all(folder);
    const SiteSeason season = siteSeason(snapshot);
    expectAsMadeOnOne(writeWhileRead([&]() -> const SiteSeason& { return season; }));
    EXPECT_EQ(::umask(mask), mode_t(027));  // never changed, not even for a moment
}

}  // namespace
}  // namespace zefa::site
