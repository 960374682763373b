#include <gtest/gtest.h>

#include <sstream>

#include "season/SeasonJson.h"
#include "site/SitePages.h"
#include "site/SiteSeason.h"
#include "site/SiteSeasonCache.h"
#include "support/ExampleSeason.h"
#include "support/ScratchDir.h"

namespace zefa::site {
namespace {

namespace fs = std::filesystem;
using season::SeasonMatch;
using season::SeasonStore;

// `count` matches of one player each, handed to the sink; the ids of the
// matches it keeps whole.
std::vector<std::int64_t> wholeIds(std::size_t count, const SiteSeasonSink::KeepWhole& wanted) {
    SiteSeasonSink sink(wanted);
    for (std::size_t id = 1; id <= count; ++id) {
        SeasonMatch match;
        match.id = std::int64_t(id);
        season::MatchPlayer player;
        player.key = "key" + std::to_string(id % 3);
        player.name = "name";
        player.awards = {2, 5};
        match.players.push_back(player);
        sink.match(std::move(match));
    }
    const SiteSeason season = sink.take(7);
    EXPECT_EQ(season.keys.size(), std::min<std::size_t>(count, 3));
    EXPECT_EQ(season.names, std::vector<std::string>{"name"});
    EXPECT_EQ(season.matches.back().players.front().awardSet, 0b100100u);
    std::vector<std::int64_t> ids;
    for (const SeasonMatch& match : season.wholeMatches) ids.push_back(match.id);
    return ids;
}

TEST(SiteSeasonTest, KeepsEveryMatchWholeForTheJsonElseThoseAskedForWhileAPageHoldsThem) {
    const auto even = [](const SeasonMatch& match) { return match.id % 2 == 0; };
    EXPECT_EQ(wholeIds(kListPageRows, even).size(), kListPageRows);
    const auto some = wholeIds(kListPageRows + 50, even);
    ASSERT_EQ(some.size(), (kListPageRows + 50) / 2);
    EXPECT_EQ(some.front(), 2);
    EXPECT_EQ(some.back(), std::int64_t(kListPageRows + 50));
    // Too many to keep: the reader reads them again instead.
    EXPECT_TRUE(wholeIds(3 * kListPageRows, even).empty());
    EXPECT_TRUE(wholeIds(kListPageRows + 1, {}).empty());
}

// What a season holds, its numbers read back as keys and names.
std::string contents(const SiteSeason& season) {
    std::ostringstream out;
    out << std::hexfloat << season.changeSeq << '\n';
    for (const SiteMatch& match : season.matches) {
        out << match.id << ' ' << match.changeSeq << ' ' << match.sha256 << '\n';
        for (const SitePlay& play : match.players)
            out << season.keys[play.key] << ' ' << season.names[play.name] << ' ' << play.rank
                << ' ' << play.kills << ' ' << play.awardSet << ' ' << play.rating.mu << ' '
                << play.rating.sigma << '\n';
    }
    season::SeasonJsonSink json(out);
    for (std::size_t i = 0; i < season.players.size(); ++i) json.write(season.wholePlayer(i));
    json.finish();
    return out.str();
}

// A season of the example's matches, read again and brought up to date.
class SiteSeasonAdvanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int n = 1; n <= 8; ++n) import(n);
    }

    void import(int n) { test::importExampleMatch(store, n, classifiers); }

    [[nodiscard]] SiteSeason fresh() { return siteSeason(store.snapshot()); }

    // A season read before `change` is not brought up to date after it.
    template <typename Change>
    void expectRefusedAfter(Change change) {
        SiteSeason before = fresh();
        const std::string was = contents(before);
        change();
        std::optional<season::SeasonChanges> changes = store.readChanges(before.changeSeq, 10);
        ASSERT_TRUE(changes);
        EXPECT_FALSE(advance(before, std::move(*changes)));
        EXPECT_TRUE(contents(before) == was);
    }

    const test::ScratchDir scratch;
    SeasonStore store =
        SeasonStore::open(scratch / "season.db", SeasonStore::OpenMode::CreateIfMissing);
    ClassifierCache classifiers;
};

TEST_F(SiteSeasonAdvanceTest, LaterMatchesGiveWhatAFreshReadingGivesAndOtherChangesAreRefused) {
    SiteSeason kept = fresh();
    ASSERT_TRUE(SiteSeasonCache(scratch.path()).write(kept));
    import(9);
    import(10);
    store.rename(kept.players.front().key, "^2Renamed");
    ASSERT_TRUE(advance(kept, *store.readChanges(kept.changeSeq, 10)));
    EXPECT_TRUE(contents(kept) == contents(fresh()));
    ASSERT_EQ(kept.wholeMatches.size(), 2u);
    EXPECT_EQ(kept.wholeMatches.back().id, kept.matches.back().id);
    EXPECT_FALSE(store.readChanges(0, 3)) << "more matches changed than a reader takes";

    // Kept in the site's folder and brought up to date there by adding the
    // later matches to those kept: read back as it was.
    SiteSeasonCache cache(scratch.path());
    std::optional<SiteSeason> cached = cache.read();
    ASSERT_TRUE(cached && advance(*cached, *store.readChanges(cached->changeSeq, 10)));
    const fs::path matchesFile = scratch / std::string(SiteSeasonCache::kMatchesFileName);
    const auto before = fs::file_size(matchesFile);
    ASSERT_TRUE(cache.write(*cached));
    const auto after = fs::file_size(matchesFile);
    EXPECT_GT(after, before);
    EXPECT_EQ(SiteSeasonCache(scratch.path()).changeSeq(), kept.changeSeq);
    cached = SiteSeasonCache(scratch.path()).read();
    ASSERT_TRUE(cached);
    EXPECT_TRUE(contents(*cached) == contents(kept));
    // Matches added by a run cut short before its season's file are not its,
    // and go when the next run adds its own.
    test::writeFile(matchesFile, test::readFile(matchesFile) + "more");
    SiteSeasonCache again(scratch.path());
    cached = again.read();
    ASSERT_TRUE(cached && advance(*cached, *store.readChanges(cached->changeSeq, 10)));
    ASSERT_TRUE(again.write(*cached));
    EXPECT_EQ(fs::file_size(matchesFile), after);
    // Another season's matches, or a season's file cut short, are not used.
    const test::ScratchDir other;
    ASSERT_TRUE(SiteSeasonCache(other.path()).write(kept));
    fs::copy_file(other / std::string(SiteSeasonCache::kMatchesFileName), matchesFile,
                  fs::copy_options::overwrite_existing);
    EXPECT_FALSE(SiteSeasonCache(scratch.path()).read());
    const fs::path file = other / std::string(SiteSeasonCache::kFileName);
    fs::resize_file(file, fs::file_size(file) - 1);
    EXPECT_FALSE(SiteSeasonCache(other.path()).read());
    fs::resize_file(file, 30);  // within its change number
    EXPECT_FALSE(SiteSeasonCache(other.path()).changeSeq());

    const auto matches = store.snapshot().matches;
    expectRefusedAfter([&] { store.forget(matches.at(3).id); });
    expectRefusedAfter([&] { import(4); });  // among the others: later ratings change
    expectRefusedAfter([&] { store.merge(kept.players.at(0).key, kept.players.at(1).key); });
}

}  // namespace
}  // namespace zefa::site
