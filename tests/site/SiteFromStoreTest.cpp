#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <regex>

#include "site/SiteChanges.h"
#include "site/SiteFromStore.h"
#include "site/SitePages.h"
#include "site/SitePaths.h"
#include "site/SiteSeasonCache.h"
#include "support/ExampleSeason.h"
#include "support/ScratchDir.h"

namespace zefa::site {
namespace {

namespace fs = std::filesystem;
using season::SeasonStore;

// The kept season's file and its matches file without the number that tells
// one matches file from another: 8 bytes after the matches file's heading,
// and the same 8 bytes before the season file's last 20 (its count of
// matches, their length and its end).
std::string withoutIdentity(std::string bytes, std::string_view page) {
    constexpr std::size_t kIdentity = 8;
    const std::size_t at = page == SiteSeasonCache::kMatchesFileName
                               ? std::string_view("zefastats site season matches 1\n").size() + 4
                               : bytes.size() - 20 - kIdentity;
    return bytes.erase(std::min(at, bytes.size()), kIdentity);
}

// Every file under the folder with its bytes, by path in the folder; a match
// page's bytes only when they do not say how long the run took to make it.
std::map<std::string, std::string> filesOf(const fs::path& folder) {
    static const std::regex kMatchPage(R"(matches/\d+\.html)");
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string page = fs::relative(entry.path(), folder).string();
        if (!entry.is_regular_file()) continue;
        std::string bytes = std::regex_match(page, kMatchPage) ? "" : test::readFile(entry.path());
        if (page.starts_with(SiteSeasonCache::kFileName)) bytes = withoutIdentity(bytes, page);
        files[page] = std::move(bytes);
    }
    return files;
}

std::map<std::string, fs::file_time_type> timesOf(const fs::path& folder) {
    std::map<std::string, fs::file_time_type> times;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        times[entry.path().string()] = entry.last_write_time();
    return times;
}

// A site kept up to date from the store's changes against one made afresh.
class SiteFromStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        options.builtInTheme = test::readFile(fs::path(ZEFA_THEMES_DIR) / "default.thm");
        options.matchTheme = options.builtInTheme;
        options.awards.fill(true);
        options.clock = 1700000000;
        options.look.minMatches = 1;
        for (int n = 1; n <= 11; ++n) import(n);
    }

    void import(int n) { test::importExampleMatch(store, n, classifiers); }

    // `count` more matches after the others, each one of the example's with
    // a first line of its own, stored in one go.
    void importMore(int count) {
        store.beginImports();
        for (int n = 0; n < count; ++n, ++added) {
            std::string log = test::readFile(test::exampleMatchLog(added % 11 + 1));
            log.insert(log.find('\n'), " " + std::to_string(added));
            const fs::path file = scratch / ("more-" + std::to_string(added) + ".log");
            test::writeFile(file, log);
            std::string why;
            ASSERT_TRUE(season::importLogFile(store, file,
                                              {.playedAt = 1773000000 + added * 3600,
                                               .keepOverlap = true},
                                              classifiers, why))
                << why;
        }
        store.commitImports();
        store.updateRatings();
    }

    SiteReport update(const fs::path& folder, bool full = false) {
        SiteOptions chosen = options;
        chosen.full = full;
        return updateSiteFromStore(store, folder, chosen);
    }

    // The kept site holds what a site made afresh holds, byte for byte.
    void expectAsMadeAfresh() {
        const test::ScratchDir fresh;
        ASSERT_TRUE(update(fresh.path(), true).ok());
        EXPECT_EQ(filesOf(kept), filesOf(fresh.path()));
    }

    const test::ScratchDir scratch;
    const fs::path kept = scratch / "site";
    SeasonStore store =
        SeasonStore::open(scratch / "season.db", SeasonStore::OpenMode::CreateIfMissing);
    ClassifierCache classifiers;
    SiteOptions options;
    int added = 0;
};

TEST_F(SiteFromStoreTest, ChangesReachOnlyTheirPagesAndGiveTheSameSiteAsAFullBuild) {
    ASSERT_TRUE(update(kept).ok());

    // Nothing new: every page kept, no file touched.
    const auto times = timesOf(kept);
    SiteReport report = update(kept);
    EXPECT_EQ(report.written, 0);
    EXPECT_GT(report.kept, 20);
    EXPECT_EQ(timesOf(kept), times);
    // Nothing new, but a file of the site gone: it is made again.
    const fs::path gone = kept / playerPagePath(store.snapshot().players.back().key);
    fs::remove(gone);
    EXPECT_EQ(update(kept).written, 1);
    EXPECT_TRUE(fs::exists(gone));

    // One more match, the latest: its two pages, the season page of the
    // match before it, the index, the match list and its players' pages;
    // of the data, the index, the player list, the match list's page, the
    // match's file and its players'. Files the changes do not reach are not
    // even made again: a stand-in in one stays.
    const fs::path unreached = kept / matchDataPath(store.snapshot().matches.front().id);
    const std::string bytes = test::readFile(unreached);
    test::writeFile(unreached, "stand-in");
    const auto before = timesOf(kept / "data");
    import(12);
    const auto latest = store.snapshot().matches.back();
    report = update(kept);
    EXPECT_EQ(report.written, 5 + static_cast<std::int32_t>(latest.players.size()));
    std::size_t dataWritten = 0;
    for (const auto& [file, time] : timesOf(kept / "data"))
        dataWritten += !fs::is_directory(file) && (!before.count(file) || before.at(file) != time);
    EXPECT_EQ(dataWritten, 4 + latest.players.size());
    EXPECT_EQ(test::readFile(unreached), "stand-in");
    test::writeFile(unreached, bytes);
    expectAsMadeAfresh();

    // A rename, a forgotten match and a match played between two others.
    store.rename(latest.players.front().key, "^2Renamed");
    ASSERT_TRUE(update(kept).ok());
    expectAsMadeAfresh();
    store.forget(store.snapshot().matches.at(4).id);
    ASSERT_TRUE(update(kept).ok());
    expectAsMadeAfresh();
    import(5);
    ASSERT_TRUE(update(kept).ok());
    expectAsMadeAfresh();

    // A full build over the kept site finds every page as it should be.
    report = update(kept, true);
    EXPECT_EQ(report.written, 0);
}

// Beyond a page of matches the site keeps the season it was made from, and
// later matches are read alone and reach only their files: the site is the
// one a full build makes, and a file gone is made again all the same.
TEST_F(SiteFromStoreTest, ALongSeasonBroughtUpToDateByLaterMatchesIsAsMadeAfresh) {
    importMore(int(kListPageRows) - 10);
    ASSERT_TRUE(update(kept).ok());
    ASSERT_TRUE(fs::exists(kept / std::string(SiteSeasonCache::kFileName)));
    importMore(2);
    std::optional<SiteSeason> cached = SiteSeasonCache(kept).read();
    ASSERT_TRUE(cached);
    ASSERT_TRUE(advance(*cached, *store.readChanges(cached->changeSeq, 10)));
    const SiteReport report = update(kept);
    EXPECT_LT(report.written, 40);
    std::int32_t pages = 0;
    for (const auto& [file, bytes] : filesOf(kept)) pages += countsAsPage(file);
    EXPECT_EQ(report.written + report.kept, pages);
    expectAsMadeAfresh();

    const fs::path gone = kept / matchSeasonPagePath(store.snapshot().matches.front().id);
    fs::remove(gone);
    importMore(1);
    ASSERT_TRUE(update(kept).ok());
    EXPECT_TRUE(fs::exists(gone));
}

// Beyond a page of matches the data files are made from the matches read
// whole beside the pages, each recorded with what it was made from: else the
// next run that reads the season again makes them all again.
TEST_F(SiteFromStoreTest, MatchDataReadBesideThePagesIsRecordedAsMadeFromItsMatch) {
    importMore(int(kListPageRows) - 10);
    ASSERT_TRUE(update(kept, true).ok());
    const std::optional<SiteRecord> record = SiteRecord::read(kept);
    ASSERT_TRUE(record);
    for (const season::SeasonMatch& match : store.snapshot().matches)
        EXPECT_EQ(record->fingerprint(matchDataPath(match.id)), SiteChanges::matchData(match));
}

TEST_F(SiteFromStoreTest, ASiteWithNothingNewCountsItsCompressedMatchPagesKept) {
    options.gzipMatchPages = true;
    const SiteReport first = update(kept);
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(update(kept).kept, first.written);
}

}  // namespace
}  // namespace zefa::site
