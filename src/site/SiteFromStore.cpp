#include "site/SiteFromStore.h"

#include "season/SeasonJson.h"
#include "site/SiteChanges.h"
#include "site/SitePaths.h"

namespace zefa::site {

namespace {

// The site in `folder`, recorded in `earlier`, when it shows the store as it
// stands, with every file it recorded still there: its pages, counted as kept.
std::optional<SiteReport> unchangedSite(season::SeasonStore& store,
                                        const std::filesystem::path& folder,
                                        const std::optional<SiteRecord>& earlier,
                                        const SiteOptions& options) {
    if (!earlier || !SiteChanges::current(*earlier, store.changeSequence(), options))
        return std::nullopt;
    SiteReport report;
    std::error_code error;
    for (const auto& [page, inputs] : earlier->files()) {
        if (!std::filesystem::exists(folder / page, error)) return std::nullopt;
        // The pages, as a run counts them: compressed match pages too.
        report.kept += page.ends_with(".html") || page.ends_with(".html.gz");
    }
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
    const std::optional<SiteRecord> earlier =
        unfitFolder(folder).empty() ? SiteRecord::read(folder) : std::nullopt;
    if (auto unchanged = unchangedSite(store, folder, earlier, options)) return *unchanged;
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
