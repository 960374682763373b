#include "site/SiteFromStore.h"

#include "season/SeasonJson.h"
#include "site/FolderListing.h"
#include "site/SiteChanges.h"
#include "site/SitePaths.h"

namespace zefa::site {

namespace {

// The site in `folder` when it shows the store as it stands, with every file
// it recorded still there: its pages, counted as kept. Looked at in the
// record's text and one listing of the folders, so that it costs little at
// a league's size.
std::optional<SiteReport> unchangedSite(season::SeasonStore& store,
                                        const std::filesystem::path& folder,
                                        const SiteOptions& options) {
    if (!unfitFolder(folder).empty()) return std::nullopt;
    const std::optional<std::string> text = SiteRecord::readText(folder);
    if (!text) return std::nullopt;
    SiteRecord index;  // the index's line alone: what the whole site was made from
    SiteRecord::forEachFile(*text, [&](std::string_view page, std::string_view inputs) {
        if (page == kIndexPage) index.add(page, inputs);
        return page != kIndexPage;
    });
    if (!SiteChanges::current(index, store.changeSequence(), options)) return std::nullopt;
    const FolderListing present(folder);
    SiteReport report;
    bool whole = true;
    std::size_t at = 0;
    // The record lists its files in order (else this finds one missing, and
    // the site is looked at as a whole).
    SiteRecord::forEachFile(*text, [&](std::string_view page, std::string_view) {
        whole = present.containsNext(page, at);
        // The pages, as a run counts them.
        report.kept += page.ends_with(".html") || page.ends_with(".html.gz");
        return whole;
    });
    if (!whole) return std::nullopt;
    return report;
}

// Hands the matches of a reading over to `take`, and nothing else.
class WholeMatches final : public season::SeasonSink {
public:
    explicit WholeMatches(const std::function<void(const season::SeasonMatch&)>& take)
        : m_take(take) {}

    void match(season::SeasonMatch&& match) override { m_take(match); }
    void player(season::SeasonPlayer&&) override {}

private:
    const std::function<void(const season::SeasonMatch&)>& m_take;
};

}  // namespace

SiteReport updateSiteFromStore(season::SeasonStore& store, const std::filesystem::path& folder,
                               const SiteOptions& options) {
    if (auto unchanged = unchangedSite(store, folder, options)) return *unchanged;
    const std::optional<SiteRecord> earlier =
        unfitFolder(folder).empty() ? SiteRecord::read(folder) : std::nullopt;
    // The matches whose data is likely to be written are kept whole: after a
    // new match or two, the store is read once.
    SiteSeasonSink sink([&](const season::SeasonMatch& match) {
        return options.full || !earlier ||
               earlier->fingerprint(matchDataPath(match.id)) != SiteChanges::matchData(match);
    });
    const std::int64_t changeSeq = store.readSeason(sink, options.since);
    const SiteSeason season = sink.take(changeSeq);
    const auto writeJson = [&season](std::ostream& out) {
        season::SeasonJsonSink json(out);
        for (const season::SeasonMatch& match : season.wholeMatches) json.write(match);
        for (std::size_t i = 0; i < season.players.size(); ++i) json.write(season.wholePlayer(i));
        json.finish();
    };
    const auto readLog = [&store](std::int64_t id) { return store.matchLog(id); };
    const auto readMatches = [&store, &options](const auto& take) {
        WholeMatches sink(take);
        store.readSeason(sink, options.since);
    };
    return updateSite(folder, season, earlier, {writeJson, readLog, readMatches}, options);
}

}  // namespace zefa::site
