#include "site/SiteUpdate.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>
#include <unordered_map>
#include <utility>

#include "files/PendingFile.h"
#include "generation/StatsGenerator.h"
#include "site/FolderListing.h"
#include "site/Gzip.h"
#include "site/OrderedWork.h"
#include "site/SiteChanges.h"
#include "site/SiteData.h"
#include "site/SitePaths.h"
#include "site/SiteRecord.h"

namespace zefa::site {

namespace {

using season::SeasonMatch;
using season::SeasonPlayer;

namespace fs = std::filesystem;

// True when the file is `size` bytes long and each piece of it, read in
// turn, is what `expected(at, piece)` accepts; read only when the size agrees.
template <typename Expected>
bool fileIs(const fs::path& path, std::uintmax_t size, Expected expected) {
    std::error_code error;
    if (fs::file_size(path, error) != size || error) return false;
    std::ifstream in(path, std::ios::binary);
    std::string piece(std::min<std::uintmax_t>(size, 1 << 16), '\0');
    for (std::uintmax_t at = 0; in && at < size; at += piece.size()) {
        const auto length =
            static_cast<std::streamsize>(std::min<std::uintmax_t>(piece.size(), size - at));
        in.read(piece.data(), length);
        if (in.gcount() != length ||
            !expected(at, std::string_view(piece.data(), std::size_t(length))))
            return false;
    }
    return static_cast<bool>(in);
}

// True when the file holds exactly these bytes.
bool holds(const fs::path& path, std::string_view bytes) {
    return fileIs(path, bytes.size(), [bytes](std::uintmax_t at, std::string_view piece) {
        return bytes.substr(std::size_t(at), piece.size()) == piece;
    });
}

// True when both files hold the same bytes.
bool sameFiles(const fs::path& path, const fs::path& other) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(other, error);
    std::ifstream in(other, std::ios::binary);
    std::string otherPiece;
    return !error && fileIs(path, size, [&](std::uintmax_t, std::string_view piece) {
        otherPiece.resize(piece.size());
        in.read(otherPiece.data(), static_cast<std::streamsize>(piece.size()));
        return static_cast<bool>(in) && otherPiece == piece;
    });
}

// Writes what `write` puts into a stream to the file, a new empty one; the
// reason it failed, or nothing. Opened as it is, not truncated: ext4 writes a
// truncated file out to the disk as it is closed, a wait for every file.
std::string writeFile(const fs::path& path, const DocumentWriter& write) {
    std::ofstream out(path, std::ios::binary | std::ios::in | std::ios::out);
    write(out);
    out.close();
    return out ? std::string() : std::string(std::strerror(errno));
}

// Writes the bytes to the file, a new empty one; the reason it failed, or nothing.
std::string writeBytes(const fs::path& path, std::string_view bytes) {
    return writeFile(path, [bytes](std::ostream& out) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    });
}

// Adds `text` at the end of the file, brought to the disk; false when there
// is no such file or it could not be added.
bool appendToFile(const fs::path& path, std::string_view text) {
    const int file = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (file < 0) return false;
    bool added = true;
    while (added && !text.empty()) {
        const ssize_t put = ::write(file, text.data(), text.size());
        added = put > 0;
        if (added) text.remove_prefix(std::size_t(put));
    }
    added = added && ::fdatasync(file) == 0;
    return ::close(file) == 0 && added;
}

// Whether the folder is the file system's root, however it is written.
bool isRoot(const fs::path& folder) {
    std::error_code error;
    const fs::path full = fs::weakly_canonical(fs::absolute(folder, error), error);
    return !error && full == full.root_path();
}

// The first file (anything but a folder) found in the folder or below.
std::optional<fs::path> firstFile(const fs::path& folder) {
    std::error_code error;
    for (fs::recursive_directory_iterator
             it(folder, fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
        if (it->is_symlink(error) || !it->is_directory(error)) return it->path();
    }
    return std::nullopt;
}

// Why the site must not be written into the folder; nothing when it may. A
// folder with a record is an earlier site, which is brought up to date. Any
// other folder must hold no file, unless other files are allowed: then none
// of them may have the name of a file of the site.
std::optional<std::string> refusal(const fs::path& folder, const std::optional<SiteRecord>& earlier,
                                   const SiteRecord& planned, bool allowOtherFiles) {
    if (std::string unfit = unfitFolder(folder); !unfit.empty()) return unfit;
    if (earlier) return std::nullopt;
    if (!allowOtherFiles) {
        if (const auto other = firstFile(folder))
            return "it holds files that are not of a season's site, such as '" + other->string() +
                   "'";
        return std::nullopt;
    }
    std::error_code error;
    for (const auto& [page, fingerprint] : planned.files())
        if (fs::exists(fs::symlink_status(folder / page, error)))
            return "'" + (folder / page).string() + "' is there already and not of a season's site";
    return std::nullopt;
}

enum class Outcome { Written, Unchanged, Failed };

// What writing a file of the site came to.
struct FileWrite {
    Outcome outcome = Outcome::Failed;
    std::string problem{};  // why it failed, naming the file
};

// Makes the file `page` of the site in `folder` by `write` into a file of its
// own, which then replaces it, unless `keepUnchanged` and it holds the same
// bytes already; `write` returns the reason it failed, or nothing. Touches
// that file alone, so any thread may. The files of the site reach the disk
// together before the record that says what they were made from (a run cut
// short by a crash leaves the record that was promised, which makes them
// again); the record itself reaches the disk before it replaces the earlier one.
template <typename Write>
FileWrite writeSiteFile(const fs::path& folder, std::string_view page, Write write,
                        bool keepUnchanged = false) {
    const std::string target = (folder / page).string();
    std::error_code error;
    const auto pending = PendingFile::create(target, error,
                                             page == SiteRecord::kFileName
                                                 ? PendingFile::Flush::BeforeRename
                                                 : PendingFile::Flush::Later);
    std::string problem = pending ? write(pending->path()) : error.message();
    if (problem.empty() && keepUnchanged && sameFiles(pending->path(), target))
        return {Outcome::Unchanged};
    if (problem.empty() && (error = pending->commit())) problem = error.message();
    if (problem.empty()) return {Outcome::Written};
    return {Outcome::Failed, "cannot write '" + target + "': " + problem};
}

// Writes the file of the site unless it already holds exactly these bytes; any thread may.
FileWrite putSiteFile(const fs::path& folder, std::string_view page, std::string_view bytes) {
    if (holds(folder / page, bytes)) return {Outcome::Unchanged};
    return writeSiteFile(folder, page,
                         [bytes](const fs::path& path) { return writeBytes(path, bytes); });
}

// The site's folder as this run leaves it: what it wrote, kept and made,
// each file recorded as the site's.
class SiteFolder {
public:
    // `planned`: every file the site is to hold, each recorded as made here;
    // `present`: the folder's files as this run began.
    SiteFolder(fs::path folder, SiteRecord planned, SiteReport& report,
               const FolderListing& present)
        : m_folder(std::move(folder)),
          m_report(report),
          m_made(std::move(planned)),
          m_present(present) {}

    [[nodiscard]] const fs::path& folder() const { return m_folder; }

    // Notes what writing the file came to; counted among the pages written
    // or kept when `counted`.
    Outcome note(std::string_view page, FileWrite&& write, bool counted) {
        m_made.add(page);
        m_report.written += counted && write.outcome == Outcome::Written;
        m_report.kept += counted && write.outcome == Outcome::Unchanged;
        if (write.outcome == Outcome::Failed)
            m_report.problems.push_back(std::move(write.problem));
        else if (write.outcome == Outcome::Written)
            noteWritten(page);
        return write.outcome;
    }

    // Writes the file from `write` unless it already holds the same bytes:
    // made beside it and compared there, for a document too large to keep
    // in memory.
    Outcome putWritten(std::string_view page, const DocumentWriter& write, bool counted = true) {
        return note(
            page,
            writeSiteFile(
                m_folder, page, [&](const fs::path& path) { return writeFile(path, write); },
                true),
            counted);
    }

    // A page that stays as it is, made from `fingerprint`; counted when it
    // is as it should be.
    void keep(std::string_view page, bool counted = true, std::string_view fingerprint = {}) {
        m_made.add(page, fingerprint);
        m_report.kept += counted;
    }

    // Adds the files of `more` to those the site is to hold, and promises
    // them too (promise()). False when the record could not be written.
    bool plan(const SiteRecord& more, const std::optional<SiteRecord>& earlier) {
        for (const auto& [page, fingerprint] : more.files()) m_made.add(page);
        return promise(earlier);
    }

    // The inputs a page was made from, for the record.
    void madeFrom(std::string_view page, std::string_view fingerprint) {
        m_made.add(page, fingerprint);
    }

    // Whether the file was in the folder when this run began.
    [[nodiscard]] bool exists(std::string_view page) const {
        return m_present.contains(page);
    }

    // Writes the record of what the site is to hold, and of the earlier
    // site's files, before any of them is written: a run cut short leaves no
    // file of the site unrecorded. An earlier record has the files it does
    // not list added at its end rather than being written again (a league's
    // record is megabytes, a new match adds a few files); a record is read
    // in any order. False when it could not be written.
    bool promise(const std::optional<SiteRecord>& earlier) {
        if (earlier && addToRecord(*earlier)) return true;
        return putRecord([&](std::ostream& out) {
                   if (earlier)
                       earlier->writeWith(out, m_made);
                   else
                       m_made.write(out);
               }) != Outcome::Failed;
    }

    // Writes the record of the files this run made, once they are on the
    // disk, then removes the files of the earlier record that it did not make.
    // A run that looked at part of the site keeps the rest as recorded.
    void finish(const std::optional<SiteRecord>& earlier, bool whole) {
        if (const std::error_code error = flushWritten()) {
            m_report.problems.push_back("cannot write '" + m_folder.string() +
                                        "' to the disk: " + error.message());
            return;
        }
        if (!whole && earlier) {
            putRecord([&](std::ostream& out) { m_made.writeWith(out, *earlier); });
            for (const auto& [page, fingerprint] : earlier->files())
                m_report.kept += countsAsPage(page) && !m_made.lists(page);
            return;
        }
        putRecord([this](std::ostream& out) { m_made.write(out); });
        if (!earlier) return;
        for (const auto& [page, fingerprint] : earlier->files()) {
            std::error_code error;
            if (m_made.lists(page) || fs::is_directory(fs::symlink_status(m_folder / page, error)))
                continue;
            if (fs::remove(m_folder / page, error)) m_report.removed += countsAsPage(page);
        }
    }

private:
    // Adds the files to be made that `earlier` does not list to the end of
    // the record; false when it could not.
    bool addToRecord(const SiteRecord& earlier) {
        std::string lines = "\n";  // ends a line a run cut short may have left unfinished
        for (const auto& [page, fingerprint] : m_made.files()) {
            if (!earlier.lists(page))
                lines.append(page).append(1, '\t').append(fingerprint).append(1, '\n');
        }
        return lines.size() == 1 || appendToFile(m_folder / SiteRecord::kFileName, lines);
    }

    // The record, written beside its file and compared there.
    Outcome putRecord(const DocumentWriter& write) {
        FileWrite written = writeSiteFile(
            m_folder, SiteRecord::kFileName,
            [&](const fs::path& path) { return writeFile(path, write); }, true);
        if (written.outcome == Outcome::Failed)
            m_report.problems.push_back(std::move(written.problem));
        return written.outcome;
    }

    // Keeps the first few files written, to flush one by one. Past them,
    // every so many files the file system's flush starts on a thread of its
    // own, unless the one before is still under way: the disk writes while
    // the pages are made, not all after them, and the flush before the
    // record finds little left.
    void noteWritten(std::string_view page) {
        ++m_written;
        if (m_written <= kFlushEachUpTo) m_unflushed.push_back((m_folder / page).string());
        if (m_written % kWritebackEvery != 0) return;
        if (m_writeback.valid()) {
            if (m_writeback.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
                return;
            if (const std::error_code error = m_writeback.get()) m_writebackError = error;
        }
        m_writeback = std::async(std::launch::async,
                                 [folder = m_folder] { return PendingFile::flushFileSystem(folder); });
    }

    // Brings the files written to the disk: the few one by one, many at
    // once with everything else their file system holds (a flush per file
    // would cost a full build most of its time, one of the file system a
    // small rebuild the wait for whatever other programs wrote). A flush that
    // failed on the way is told: the last one may no longer see the failure.
    std::error_code flushWritten() {
        if (m_writeback.valid())
            if (const std::error_code error = m_writeback.get()) m_writebackError = error;
        if (m_writebackError) return m_writebackError;
        if (m_written > kFlushEachUpTo) return PendingFile::flushFileSystem(m_folder);
        for (const std::string& file : m_unflushed)
            if (const std::error_code error = PendingFile::flushFile(file)) return error;
        return {};
    }

    static constexpr std::size_t kFlushEachUpTo = 256;
    static constexpr std::size_t kWritebackEvery = 1024;

    fs::path m_folder;
    SiteReport& m_report;
    SiteRecord m_made;
    const FolderListing& m_present;
    std::vector<std::string> m_unflushed;  // written by this run, while no more than a few
    std::size_t m_written = 0;             // by this run
    std::future<std::error_code> m_writeback;  // the flush under way, if any
    std::error_code m_writebackError;          // of one that ended
};

// The file a match page is kept in.
std::string matchPageFile(std::int64_t id, const SiteOptions& options) {
    std::string page = matchPagePath(id);
    if (options.gzipMatchPages) page += kGzipSuffix;
    return page;
}

// A file of the site made on a thread of its own, to be written on the site's.
struct MadeFile {
    std::string page{};
    std::string inputs{};  // what it was made from, for the record
    bool counted = true;   // a page, counted in the report
    // A match page, written whatever the file holds: its bytes carry the
    // time it was made, its inputs tell whether it changed.
    bool matchPage = false;
    std::string bytes{};      // as the file keeps them
    std::string problem{};    // why it could not be made
    std::string unreadLog{};  // why the stored log of a match page could not be read
    FileWrite written{};      // what writing it came to
};

// Makes the page from the match's stored log with the site's theme, awards
// and clock, compressed when the site keeps it so.
void makeMatchPage(MadeFile& made, season::StoredLog log, const SiteOptions& options,
                   ClassifierCache& classifiers, MatchEngine engine) {
    std::ostringstream page;
    StatsGenerator generator({.logText = std::move(log.bytes),
                              .themeText = options.matchTheme,
                              .gameVersion = log.gameVersion,
                              .awards = options.awards,
                              .fixedTime = options.clock,
                              .classifiers = &classifiers,
                              .engine = engine});
    const RunResult result = generator.Run(page);
    if (!result.ok())
        made.problem = result.pageProblem();
    else
        made.bytes = options.gzipMatchPages ? gzip(page.view()) : std::move(page).str();
}

// Notes a file made and written on a thread of its own.
void noteMade(SiteFolder& site, SiteReport& report, MadeFile&& made) {
    if (!made.unreadLog.empty()) {
        report.problems.push_back(std::move(made.unreadLog));
        site.keep(made.page, false);  // an earlier page of it is better than none
    } else if (site.note(made.page, std::move(made.written), made.counted) != Outcome::Failed) {
        site.madeFrom(made.page, made.inputs);
    }  // else made again next time
}

// Writes the file made, on the thread that made it: a match page whatever
// the file holds, the others unless it holds their bytes already.
void writeMade(const fs::path& folder, MadeFile& made) {
    made.written =
        made.matchPage
            ? writeSiteFile(folder, made.page,
                            [&made](const fs::path& path) {
                                return made.problem.empty() ? writeBytes(path, made.bytes)
                                                            : made.problem;
                            })
            : putSiteFile(folder, made.page, made.bytes);
    made.bytes = {};  // written: no longer held while it waits to be noted
}

// Makes and writes the site's files on the threads the options give (one a
// core by default), and notes them on the site's thread in the order they
// were asked for: the record and the report are those of one thread.
class FileMaker {
public:
    // `matchPages`: how many match pages the run may make.
    FileMaker(SiteFolder& site, SiteReport& report, const SiteOptions& options,
              std::size_t matchPages)
        : m_folder(site.folder()),
          m_options(options),
          // The prefilter's database takes longer to compile than it saves
          // on the logs of a few new matches.
          m_engine(matchPages < kPrefilterFromPages ? MatchEngine::Exact : kDefaultMatchEngine),
          m_work(
              options.threads ? options.threads : std::max(1U, std::thread::hardware_concurrency()),
              [&site, &report](MadeFile&& made) { noteMade(site, report, std::move(made)); }) {}

    // The page of the match from its stored log, read here by `readLog`.
    void matchPage(std::string page, std::string fingerprint, std::int64_t matchId,
                   const StoredLogReader& readLog) {
        MadeFile made{.page = std::move(page), .inputs = std::move(fingerprint), .matchPage = true};
        season::StoredLog log;
        try {
            log = readLog(matchId);
        } catch (const season::SeasonError& error) {
            made.unreadLog = "cannot read the stored log of match " + std::to_string(matchId) +
                             ": " + error.reason();
        }
        // Handed over in order also when there is nothing to make, so that
        // the problems are told in the season's order.
        m_work.add([made = std::move(made), log = std::move(log),
                    this](ClassifierCache& classifiers) mutable {
            if (made.unreadLog.empty()) {
                makeMatchPage(made, std::move(log), m_options, classifiers, m_engine);
                writeMade(m_folder, made);
            }
            return std::move(made);
        });
    }

    // A file that `render` gives the bytes of.
    template <typename Render>
    void file(std::string_view page, std::string_view inputs, bool counted, Render render) {
        m_work.add([made = MadeFile{.page = std::string(page),
                                    .inputs = std::string(inputs),
                                    .counted = counted},
                    render = std::move(render), this](ClassifierCache&) mutable {
            made.bytes = render();
            writeMade(m_folder, made);
            return std::move(made);
        });
    }

    // Writes every file asked for so far.
    void finish() { m_work.finish(); }

private:
    static constexpr std::size_t kPrefilterFromPages = 8;

    const fs::path& m_folder;
    const SiteOptions& m_options;
    MatchEngine m_engine;  // of the match pages' logs
    OrderedWork<ClassifierCache, MadeFile> m_work;
};

// The matches and players whose files a run looks at: all of them; or,
// when later matches alone came since the earlier site (advance()), no name
// or option changed and every file the earlier site recorded is there, the
// new matches with the one before them (whose season page leads to the
// next) and the new matches' players. The files of the others are as the
// earlier site made them.
struct Scope {
    bool whole = true;
    std::size_t firstMatch = 0;
    std::vector<std::size_t> players;  // into the season's players, when not whole

    static Scope all(const SiteSeason& season) {
        Scope scope;
        for (std::size_t i = 0; i < season.players.size(); ++i) scope.players.push_back(i);
        return scope;
    }

    static Scope of(const SiteSeason& season, const std::optional<SiteRecord>& earlier,
                    const SiteChanges& changes, const FolderListing& present) {
        std::size_t at = 0;
        const auto there = [&](const SiteRecord::File& file) {
            return present.containsNext(file.first, at);
        };
        if (!season.advanced || !earlier || changes.all() ||
            !std::ranges::all_of(earlier->files(), there))
            return all(season);
        Scope scope;
        scope.whole = false;
        scope.firstMatch = std::max<std::size_t>(season.advanced->earlierMatches, 1) - 1;
        for (const std::string& key : season.advanced->players) {
            const auto at =
                std::ranges::lower_bound(season.players, key, {}, &SeasonPlayer::key);
            scope.players.push_back(std::size_t(at - season.players.begin()));
        }
        return scope;
    }

    // The first page of a list of matches (listPages) the run looks at.
    [[nodiscard]] std::size_t firstMatchPage() const { return firstMatch / kListPageRows + 1; }
};

// The data file of the match whole.
template <typename Match>
void addMatchData(FileMaker& maker, Match&& match) {
    const std::string page = matchDataPath(match.id);
    const std::string inputs = SiteChanges::matchData(match);
    maker.file(page, inputs, false,
               [match = std::forward<Match>(match)] { return SiteData::match(match); });
}

// The data files of the matches in scope, each written, when the changes
// reach it, from the match whole: the one the season holds, or else the one
// a feed reads beside the pages (only when the season lacks one).
class MatchDataFiles {
public:
    MatchDataFiles(const SiteSeason& season, const Scope& scope, const SiteChanges& changes,
                   const SiteFolder& site, const WholeMatchReader& readMatches)
        : m_changes(changes) {
        for (const SeasonMatch& match : season.wholeMatches) m_held.emplace(match.id, &match);
        for (std::size_t i = scope.firstMatch; i < season.matches.size(); ++i) {
            const SiteMatch& match = season.matches[i];
            if (reached(site, match) && !m_held.contains(match.id)) {
                m_feed.emplace(readMatches);
                return;
            }
        }
    }

    // The match's data file, asked for in played order.
    void write(SiteFolder& site, FileMaker& maker, const SiteMatch& match) {
        if (!reached(site, match)) {
            site.keep(matchDataPath(match.id), false, SiteChanges::matchData(match));
        } else if (const auto held = m_held.find(match.id); held != m_held.end()) {
            addMatchData(maker, *held->second);
        } else if (std::optional<SeasonMatch> whole =
                       m_feed->take(match.id, match.playedAt, match.sha256)) {
            addMatchData(maker, std::move(*whole));
        }  // else gone from the store since the season was read
    }

    // Throws what reading the matches whole threw.
    void finish() {
        if (m_feed) m_feed->finish();
    }

private:
    [[nodiscard]] bool reached(const SiteFolder& site, const SiteMatch& match) const {
        const std::string page = matchDataPath(match.id);
        return m_changes.reaches(page, SiteChanges::matchData(match)) || !site.exists(page);
    }

    const SiteChanges& m_changes;
    std::unordered_map<std::int64_t, const SeasonMatch*> m_held;  // the season's whole matches
    std::optional<WholeMatchFeed> m_feed;
};

// The files of each match a run made before it had the season.
enum class MadeAhead { Nothing, Pages, PagesAndData };

// Every file the site of this season holds, of the matches and players in
// scope; not those made ahead, which are planned already.
SiteRecord plannedFiles(const SiteSeason& season, const SitePages& pages, const Scope& scope,
                        const SiteOptions& options, MadeAhead ahead) {
    SiteRecord planned;
    for (const std::string_view page :
         {kIndexPage, kMatchListPage, kStyleSheet, kDataIndex, kPlayerListData})
        planned.add(page);
    if (keepsSeasonJson(season.matches.size())) planned.add(kSeasonJson);
    for (std::size_t i = scope.firstMatch; i < season.matches.size(); ++i) {
        const std::int64_t id = season.matches[i].id;
        if (ahead == MadeAhead::Nothing) planned.add(matchPageFile(id, options));
        planned.add(matchSeasonPagePath(id));
        if (ahead != MadeAhead::PagesAndData) planned.add(matchDataPath(id));
    }
    for (std::size_t n = scope.firstMatchPage(); n <= listPages(season.matches.size()); ++n)
        planned.add(listPagePath(kMatchListPage, n));
    for (std::size_t n = 1; n <= pages.leaderboardPages(); ++n)
        planned.add(listPagePath(kLeaderboardPage, n));
    for (std::size_t n = 1; n <= listPages(season.players.size()); ++n)
        planned.add(listPagePath(kPlayerListPage, n));
    for (std::size_t n = scope.firstMatchPage(); n <= dataPages(season.matches.size()); ++n)
        planned.add(matchListDataPath(n));
    for (const std::size_t i : scope.players) {
        const SeasonPlayer& player = season.players[i];
        planned.add(playerPagePath(player.key));
        planned.add(playerDataPath(player.key));
        for (std::size_t n = 1; n <= listPages(std::size_t(player.matches)); ++n)
            planned.add(listPagePath(playerPagePath(player.key), n));
    }
    return planned;
}

// One run of updateSite(). It may make the match pages before it has the
// season they are of: they need only their stored logs.
class SiteRun {
public:
    SiteRun(fs::path folder, const std::optional<SiteRecord>& earlier, const SiteSources& sources,
            const SiteOptions& options)
        : m_folder(std::move(folder)),
          m_earlier(earlier),
          m_sources(sources),
          m_options(options),
          m_pageInputs(options) {}
    SiteRun(const SiteRun&) = delete;
    SiteRun& operator=(const SiteRun&) = delete;

    // Makes the site while `season` is read on a thread of its own: the
    // matches' files as soon as the reading names the matches, the rest once
    // it is read.
    SiteReport makeWhileRead(const SeasonUnderWay& season) {
        const bool ahead = mayGoAhead();
        // A build that compares no data file with an earlier site's makes
        // them all, from the matches the reading passes.
        const bool dataAhead = ahead && (!m_earlier || m_options.full);
        std::promise<Headings> named;
        std::future<Headings> matches = named.get_future();
        bool isNamed = false;  // on the reading's thread alone
        const auto name = [&](Headings headings) {
            if (!std::exchange(isNamed, true)) named.set_value(std::move(headings));
        };
        const SiteSeason* read = nullptr;
        {
            WholeMatchFeed feed([&](const SeasonUnderWay::PassMatch& pass) {
                try {
                    read = &season.read([&](auto&& headings) { name(std::move(headings)); },
                                        dataAhead ? pass : SeasonUnderWay::PassMatch());
                } catch (...) {
                    name(std::nullopt);
                    throw;
                }
                name(std::nullopt);
            });
            if (const Headings headings = matches.get(); headings && ahead)
                matchFilesAhead(*headings, dataAhead ? &feed : nullptr);
            feed.finish();  // throws what the reading threw
        }
        return make(*read);
    }

    // Makes the season's site, but for the matches' files made ahead; the
    // run is then over.
    SiteReport make(const SiteSeason& season) {
        if (m_ahead != MadeAhead::Nothing && !m_maker) return std::move(m_report);  // not begun
        const SitePages pages(season, m_options.look);
        const SiteChanges changes(m_earlier, season, m_options);
        // A season read whole: each of its files is looked at.
        Scope scope = Scope::all(season);
        if (m_ahead != MadeAhead::Nothing) {
            if (!m_site->plan(plannedFiles(season, pages, scope, m_options, m_ahead), m_earlier))
                return stop();
        } else {
            const FolderListing& recorded = m_recorded.emplace(
                m_folder, m_earlier ? SiteRecord::writtenAt(m_folder) : std::nullopt);
            scope = Scope::of(season, m_earlier, changes, recorded);
            SiteRecord planned = plannedFiles(season, pages, scope, m_options, MadeAhead::Nothing);
            if (auto why = refusal(m_folder, m_earlier, planned, m_options.allowOtherFiles)) {
                m_report.refused = std::move(*why);
                return std::move(m_report);
            }
            // A run that looks at every file lists them all.
            if (!begin(std::move(planned), scope.whole ? m_everyFile.emplace(m_folder) : recorded,
                       season.matches.size() - scope.firstMatch))
                return std::move(m_report);
        }
        const SiteData data(season);
        // Should a reading of the matches fail, the maker's threads end
        // before the pages and data their jobs use go.
        const struct StopMaker {
            std::optional<FileMaker>& maker;
            ~StopMaker() { maker.reset(); }
        } stopMaker{m_maker};
        // Each match's data file made beside its page, unless both were.
        std::optional<MatchDataFiles> matchData;
        if (m_ahead != MadeAhead::PagesAndData) {
            matchData.emplace(season, scope, changes, *m_site, m_sources.readMatches);
            for (std::size_t i = scope.firstMatch; i < season.matches.size(); ++i) {
                const SiteMatch& match = season.matches[i];
                if (m_ahead == MadeAhead::Nothing)
                    matchPage(match.id, m_pageInputs.of(match.sha256, match.gameVersion));
                matchData->write(*m_site, *m_maker, match);
            }
        }
        seasonFiles(season, {pages, data}, scope, changes, matchData);
        m_site->finish(m_earlier, scope.whole);
        return std::move(m_report);
    }

private:
    using Headings = std::optional<std::vector<season::MatchHeading>>;

    // Whether the matches' files may be made before the season is at hand:
    // not in a folder that is refused (make() then tells why), nor in one
    // to be looked at for the season's other files first (a new site among
    // other files).
    [[nodiscard]] bool mayGoAhead() const {
        return (m_earlier || !m_options.allowOtherFiles) &&
               !refusal(m_folder, m_earlier, SiteRecord(), false);
    }

    // The pages of the season's matches, in played order, and their data
    // files from the reading's matches whole when `feed` is given.
    void matchFilesAhead(const std::vector<season::MatchHeading>& matches, WholeMatchFeed* feed) {
        m_ahead = feed ? MadeAhead::PagesAndData : MadeAhead::Pages;
        SiteRecord planned;
        for (const season::MatchHeading& match : matches) {
            planned.add(matchPageFile(match.id, m_options));
            if (feed) planned.add(matchDataPath(match.id));
        }
        if (!begin(std::move(planned), m_everyFile.emplace(m_folder), matches.size())) return;
        for (const season::MatchHeading& match : matches) {
            matchPage(match.id, m_pageInputs.of(match.sha256, match.gameVersion));
            if (!feed) continue;
            if (std::optional<SeasonMatch> whole =
                    feed->take(match.id, match.playedAt, match.sha256))
                addMatchData(*m_maker, std::move(*whole));
        }
    }

    // What the season's files are rendered from.
    struct SeasonViews {
        const SitePages& pages;
        const SiteData& data;
    };

    // Creates the site's folders and promises the files planned, among them
    // up to `matchPages` match pages; false, with the reason in the report,
    // when it could not.
    bool begin(SiteRecord planned, const FolderListing& present, std::size_t matchPages) {
        std::error_code error;
        for (const std::string& sub : siteFolders()) {
            if (fs::create_directories(m_folder / sub, error); error) {
                m_report.problems.push_back("cannot create '" + (m_folder / sub).string() +
                                            "': " + error.message());
                return false;
            }
        }
        m_site.emplace(m_folder, std::move(planned), m_report, present);
        if (!m_site->promise(m_earlier)) return false;
        m_maker.emplace(*m_site, m_report, m_options, matchPages);
        return true;
    }

    // Ends the run early, with the files asked for so far noted.
    SiteReport stop() {
        m_maker->finish();
        return std::move(m_report);
    }

    // The match's page, kept when it is made from the same inputs.
    void matchPage(std::int64_t id, std::string fingerprint) {
        std::string page = matchPageFile(id, m_options);
        if (m_earlier && m_earlier->fingerprint(page) == fingerprint && m_site->exists(page))
            m_site->keep(page, true, fingerprint);
        else
            m_maker->matchPage(std::move(page), std::move(fingerprint), id, m_sources.readLog);
    }

    // The season's own files, each made only when the changes reach it; the
    // matches' data files are finished among them. Returns once all are written.
    void seasonFiles(const SiteSeason& season, const SeasonViews& views, const Scope& scope,
                     const SiteChanges& changes, std::optional<MatchDataFiles>& matchData) {
        const SitePages& pages = views.pages;
        const SiteData& data = views.data;
        SiteFolder& site = *m_site;
        FileMaker& maker = *m_maker;
        const auto update = [&](std::string_view page, std::string_view inputs, auto render,
                                bool counted = true) {
            if (!changes.reaches(page, inputs) && site.exists(page))
                site.keep(page, counted, inputs);
            else
                maker.file(page, inputs, counted, render);
        };
        update(kIndexPage, changes.seasonInputs(), [&pages] { return pages.index(); });
        update(kMatchListPage, changes.seasonInputs(), [&pages] { return pages.matchList(); });
        for (std::size_t n = scope.firstMatchPage(); n <= listPages(season.matches.size()); ++n)
            update(listPagePath(kMatchListPage, n), changes.matchListPage(n),
                   [&pages, n] { return pages.matchListPage(n); });
        for (std::size_t n = 1; n <= pages.leaderboardPages(); ++n)
            update(listPagePath(kLeaderboardPage, n), changes.leaderboardPage(pages.leaders(), n),
                   [&pages, n] { return pages.leaderboardPage(n); });
        for (std::size_t n = 1; n <= listPages(season.players.size()); ++n)
            update(listPagePath(kPlayerListPage, n), changes.playerListPage(n),
                   [&pages, n] { return pages.playerListPage(n); });
        for (std::size_t i = scope.firstMatch; i < season.matches.size(); ++i)
            update(matchSeasonPagePath(season.matches[i].id), changes.matchSeasonPage(i),
                   [&pages, i] { return pages.match(i); });
        for (const std::size_t i : scope.players) {
            const SeasonPlayer& player = season.players[i];
            const std::string inputs = SiteChanges::playerPage(player);
            update(playerPagePath(player.key), inputs, [&pages, i] { return pages.player(i); });
            for (std::size_t n = 1; n <= listPages(std::size_t(player.matches)); ++n)
                update(listPagePath(playerPagePath(player.key), n), inputs,
                       [&pages, i, n] { return pages.playerMatchPage(i, n); });
        }
        update(
            kStyleSheet, changes.styleSheet(),
            [this] { return styleSheet(m_options.builtInTheme); }, false);
        if (keepsSeasonJson(season.matches.size())) {
            // Streamed, too large to make in memory, after the files before it.
            maker.finish();
            if (!changes.reaches(kSeasonJson, changes.seasonInputs()) && site.exists(kSeasonJson))
                site.keep(kSeasonJson, false, changes.seasonInputs());
            else if (site.putWritten(kSeasonJson, m_sources.writeSeasonJson, false) !=
                     Outcome::Failed)
                site.madeFrom(kSeasonJson, changes.seasonInputs());
        }

        // The data files, not counted among the pages.
        update(
            kDataIndex, changes.seasonInputs(), [&data] { return data.index(); }, false);
        update(
            kPlayerListData, changes.seasonInputs(), [&data] { return data.players(); }, false);
        for (std::size_t n = scope.firstMatchPage(); n <= dataPages(season.matches.size()); ++n)
            update(
                matchListDataPath(n), changes.matchListPage(n),
                [&data, n] { return data.matchListPage(n); }, false);
        if (matchData) matchData->finish();
        for (const std::size_t i : scope.players)
            update(
                playerDataPath(season.players[i].key), SiteChanges::playerPage(season.players[i]),
                [&data, i] { return data.player(i); }, false);
        maker.finish();
    }

    fs::path m_folder;
    const std::optional<SiteRecord>& m_earlier;
    const SiteSources& m_sources;
    const SiteOptions& m_options;
    const MatchPageInputs m_pageInputs;
    MadeAhead m_ahead = MadeAhead::Nothing;
    SiteReport m_report;
    std::optional<FolderListing> m_recorded;  // the folders written since the record
    std::optional<FolderListing> m_everyFile;
    std::optional<SiteFolder> m_site;
    std::optional<FileMaker> m_maker;  // last: its threads go first, before what they use
};

}  // namespace

std::string unfitFolder(const fs::path& folder) {
    if (folder.empty()) return "no folder was given";
    return isRoot(folder) ? "it is the file system's root" : "";
}

SiteReport updateSite(const fs::path& folder, const season::SeasonSnapshot& season,
                      const DocumentWriter& writeSeasonJson, const StoredLogReader& readLog,
                      const SiteOptions& options) {
    const auto readMatches = [&season](const auto& take) {
        for (const SeasonMatch& match : season.matches) take(match);
    };
    return updateSite(folder, siteSeason(season), SiteRecord::read(folder),
                      {writeSeasonJson, readLog, readMatches}, options);
}

SiteReport updateSite(const fs::path& folder, const SiteSeason& season,
                      const std::optional<SiteRecord>& earlier, const SiteSources& sources,
                      const SiteOptions& options) {
    SiteRun run(folder, earlier, sources, options);
    return run.make(season);
}

SiteReport updateSite(const fs::path& folder, const SeasonUnderWay& season,
                      const std::optional<SiteRecord>& earlier, const SiteSources& sources,
                      const SiteOptions& options) {
    SiteRun run(folder, earlier, sources, options);
    return run.makeWhileRead(season);
}
}  // namespace zefa::site
