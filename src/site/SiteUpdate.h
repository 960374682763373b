#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "season/SeasonSnapshot.h"
#include "season/SeasonStore.h"
#include "site/SiteOptions.h"
#include "site/SiteRecord.h"
#include "site/SiteSeason.h"
#include "site/WholeMatchFeed.h"

namespace zefa::site {

// The stored log of a match; throws season::SeasonError when it cannot be read.
using StoredLogReader = std::function<season::StoredLog(std::int64_t matchId)>;

// Writes a document, such as the season's JSON, to the stream.
using DocumentWriter = std::function<void(std::ostream& out)>;

// Where the files of a site come from besides its SiteSeason.
struct SiteSources {
    DocumentWriter writeSeasonJson;  // while the site keeps it (keepsSeasonJson)
    StoredLogReader readLog;
    // Read only when a match's data is to be written and the season does
    // not hold the match whole; on a thread of its own, while the pages are
    // made.
    WholeMatchReader readMatches;
};

struct SiteReport {
    std::int32_t written = 0;
    std::int32_t kept = 0;              // already as they should be
    std::int32_t removed = 0;           // pages of players and matches no longer in the season
    std::vector<std::string> problems;  // one line each, naming the file
    std::string refused;  // why nothing was written into the folder; empty when it was used

    [[nodiscard]] bool ok() const { return problems.empty() && refused.empty(); }
};

// Why `folder` can never take a site (it is empty, or the file system's root
// however written); empty when it can.
[[nodiscard]] std::string unfitFolder(const std::filesystem::path& folder);

// Writes the season's site into `folder`, or brings an earlier one up to
// date: a page is rewritten only when its bytes change (a match page when its
// log, theme, awards or clock change), each file replaced whole so a reader
// never sees half of it, and pages of players and matches that are gone are
// removed. Only files the site wrote are ever removed: it keeps a record of
// them in the folder. A folder without that record must be new or hold no
// file (unless other files are allowed), and must not be the file system's
// root; else nothing is written and `refused` says why. What
// `writeSeasonJson` writes becomes season.json as it is, while the site
// keeps it (keepsSeasonJson); the data files (SiteData) are there always.
// The counts are of the pages (.html) alone.
[[nodiscard]] SiteReport updateSite(const std::filesystem::path& folder,
                                    const season::SeasonSnapshot& season,
                                    const DocumentWriter& writeSeasonJson,
                                    const StoredLogReader& readLog, const SiteOptions& options);

// The same from the season as the site keeps it, `earlier` being the record
// the folder holds (SiteRecord::read).
[[nodiscard]] SiteReport updateSite(const std::filesystem::path& folder, const SiteSeason& season,
                                    const std::optional<SiteRecord>& earlier,
                                    const SiteSources& sources, const SiteOptions& options);

// A season to be read while its site is made.
struct SeasonUnderWay {
    using NameMatches = SiteSeasonSink::TakeHeadings;
    using PassMatch = SiteSeasonSink::PassWhole;
    // Reads the season from the store, on the thread it is called on, and
    // returns it (kept by the caller). It names its matches to `name` first,
    // in played order, and shows each whole to `pass`, when set, as it reads
    // it; a reading that fails before it names them never calls `name`.
    std::function<const SiteSeason&(const NameMatches& name, const PassMatch& pass)> read;
};

// The same of a season to be read, on a thread of its own: the match pages,
// which need only their stored logs, are made while it is, and a full
// build's data files from the matches it reads.
[[nodiscard]] SiteReport updateSite(const std::filesystem::path& folder,
                                    const SeasonUnderWay& season,
                                    const std::optional<SiteRecord>& earlier,
                                    const SiteSources& sources, const SiteOptions& options);

}  // namespace zefa::site
