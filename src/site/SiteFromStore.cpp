#include "site/SiteFromStore.h"

#include <future>

#include "season/SeasonJson.h"
#include "site/FolderListing.h"
#include "site/SiteChanges.h"
#include "site/SitePaths.h"
#include "site/SiteSeasonCache.h"

namespace zefa::site {

namespace {

// The site in `folder`, whose record holds `text`, when it shows the store as
// it stands, with every file it recorded still there: its pages, counted as
// kept. Looked at in the record's text and one listing of the folders, so
// that it costs little at a league's size.
std::optional<SiteReport> unchangedSite(season::SeasonStore& store,
                                        const std::filesystem::path& folder,
                                        const std::optional<std::string>& text,
                                        const SiteOptions& options) {
    if (!text) return std::nullopt;
    SiteRecord index;  // the index's line alone: what the whole site was made from
    SiteRecord::forEachFile(*text, [&](std::string_view page, std::string_view inputs) {
        if (page == kIndexPage) index.add(page, inputs);
        return page != kIndexPage;
    });
    if (!SiteChanges::current(index, store.changeSequence(), options)) return std::nullopt;
    const FolderListing present(folder, SiteRecord::writtenAt(folder));
    SiteReport report;
    bool whole = true;
    std::size_t at = 0;
    // The record lists its files in order (else this finds one missing, and
    // the site is looked at as a whole).
    SiteRecord::forEachFile(*text, [&](std::string_view page, std::string_view) {
        whole = present.containsNext(page, at);
        // The pages, as a run counts them.
        report.kept += countsAsPage(page);
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

// The season the site was last made from, brought up to date, when all that
// changed since is later matches; nothing when it is to be read again.
std::optional<SiteSeason> advancedSeason(season::SeasonStore& store, SiteSeasonCache& cache,
                                         bool recorded, const SiteOptions& options) {
    if (options.full || options.since || !recorded) return std::nullopt;
    const std::optional<std::int64_t> keptAt = cache.changeSeq();
    if (!keptAt) return std::nullopt;
    // The store's changes are read beside the kept season, on a connection
    // of their own: one after the other, the two took half of a small rebuild.
    auto reading = std::async(std::launch::async, [&store, since = *keptAt] {
        season::SeasonStore reader = store.reader();
        return reader.readChanges(since, kListPageRows);
    });
    std::optional<SiteSeason> cached = cache.read();
    std::optional<season::SeasonChanges> changes = reading.get();
    // A cache replaced since its number was read is of another season.
    if (!cached || cached->changeSeq != *keptAt || !changes ||
        !advance(*cached, std::move(*changes)))
        return std::nullopt;
    return cached;
}

// The season read from the store, its matches whose data is likely to be
// written kept whole, so that after a new match or two the store is read
// once; its matches named to `name` and shown to `pass` (SeasonUnderWay).
SiteSeason readSiteSeason(season::SeasonStore& store, const std::optional<SiteRecord>& earlier,
                          const SiteOptions& options, const SeasonUnderWay::NameMatches& name,
                          const SeasonUnderWay::PassMatch& pass) {
    SiteSeasonSink sink(
        [&](const season::SeasonMatch& match) {
            return options.full || !earlier ||
                   earlier->fingerprint(matchDataPath(match.id)) != SiteChanges::matchData(match);
        },
        name, pass);
    const std::int64_t changeSeq = store.readSeason(sink, options.since);
    return sink.take(changeSeq);
}

}  // namespace

SiteReport updateSiteFromStore(season::SeasonStore& store, const std::filesystem::path& folder,
                               const SiteOptions& options) {
    std::optional<std::string> text =
        unfitFolder(folder).empty() ? SiteRecord::readText(folder) : std::nullopt;
    if (auto unchanged = unchangedSite(store, folder, text, options)) return *unchanged;
    // The record is taken apart on another thread while this one reads the
    // kept season, which stays on this thread: on another, its 80 MB at a
    // league's size would grow that thread's heap a page at a time.
    const bool recorded = text.has_value();
    auto takingApart = std::async(std::launch::async, [&text] {
        return text ? std::optional(SiteRecord::fromText(std::move(*text))) : std::nullopt;
    });
    SiteSeasonCache cache(folder);
    std::optional<SiteSeason> read = advancedSeason(store, cache, recorded, options);
    const std::optional<SiteRecord> earlier = takingApart.get();
    // Else read on a thread of its own, beside the one that makes the pages:
    // a connection of its own.
    const auto readSeason = [&](const auto& name, const auto& pass) -> const SiteSeason& {
        season::SeasonStore reader = store.reader();
        return read.emplace(readSiteSeason(reader, earlier, options, name, pass));
    };
    const auto writeJson = [&read](std::ostream& out) {
        const SiteSeason& season = *read;
        season::SeasonJsonSink json(out);
        for (const season::SeasonMatch& match : season.wholeMatches) json.write(match);
        for (std::size_t i = 0; i < season.players.size(); ++i) json.write(season.wholePlayer(i));
        json.finish();
    };
    const auto readLog = [&store](std::int64_t id) { return store.matchLog(id); };
    // On a thread of its own, beside the one reading the logs: a connection
    // of its own.
    const auto readMatches = [&store, &options](const auto& take) {
        season::SeasonStore reader = store.reader();
        WholeMatches sink(take);
        reader.readSeason(sink, options.since);
    };
    const SiteSources sources{writeJson, readLog, readMatches};
    const SiteReport report =
        read ? updateSite(folder, *read, earlier, sources, options)
             : updateSite(folder, SeasonUnderWay{readSeason}, earlier, sources, options);
    const SiteSeason& season = *read;
    // Small seasons are read whole in no time, and keep every match whole
    // for their season.json; a window is rated afresh at every reading.
    if (report.ok() && !options.since && !keepsSeasonJson(season.matches.size())) {
        cache.write(season);
    } else if (report.refused.empty()) {
        cache.remove();
    }
    return report;
}

}  // namespace zefa::site
