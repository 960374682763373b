#include "record/Recorder.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <sstream>

#include "record/Archive.h"
#include "record/ArchiveState.h"
#include "record/FileWatch.h"
#include "record/ImportQueue.h"
#include "record/LogFollower.h"
#include "record/LogPaths.h"
#include "record/Sender.h"
#include "record/StopSignals.h"

namespace zefa::record {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// How soon what failed is tried again: a log that could not be read, a state
// that could not be written, a folder that could not be watched.
constexpr auto kRetry = std::chrono::seconds(1);

// A followed log's facts beside its follower that last only as long as the run.
struct Followed {
    Clock::time_point grewAt = Clock::now();
    std::uint64_t quietTried = 0;  // the spool's length when it was last imported for quiet
    std::string problem;
    bool watched = false;
};

std::string seconds(std::chrono::milliseconds interval) {
    std::ostringstream text;
    text << static_cast<double>(interval.count()) / 1000.0 << " s";
    return text.str();
}

// "the outbox (1 session)", "the outbox (3 sessions)"
std::string outbox(std::size_t sessions) {
    return "the outbox (" + std::to_string(sessions) + (sessions == 1 ? " session)" : " sessions)");
}

class Recorder final : public SessionSink {
public:
    Recorder(const RecorderOptions& options, Archive archive, const ArchiveState& state,
             FileWatch watch, std::ostream& out, std::ostream& err);
    Recorder(const Recorder&) = delete;  // the followers hold on to it
    Recorder& operator=(const Recorder&) = delete;

    [[nodiscard]] bool run(const StopSignals& stop);

    std::optional<fs::path> beginSession(const fs::path& log) override;
    void endSession(const fs::path& log, const fs::path& spool, std::uint64_t size) override;

private:
    void takeUp(const ArchiveState& previous);
    void step();
    void lookAtLogs();
    void watchFolders();
    [[nodiscard]] bool waitForChange(const StopSignals& stop);
    [[nodiscard]] std::optional<Clock::duration> timeout() const;
    [[nodiscard]] bool quietPending(std::size_t index) const;
    void askQuietImports();
    void askFinalImports();
    void startImport();
    void finishImport(const ImportRequest& request, const ImportOutcome& outcome);
    void startSend();
    void finishSend(const std::string& spool, const ImportOutcome& outcome);
    [[nodiscard]] bool saveState();
    [[nodiscard]] FollowedLog& entryOf(const fs::path& log);
    [[nodiscard]] std::vector<std::string> spoolNames() const;
    void say(const std::string& line) { m_out << line << std::endl; }
    void complain(const std::string& line) { m_err << "zefastats: " << line << std::endl; }

    const RecorderOptions& m_options;
    Archive m_archive;
    ArchiveState m_state;  // its logs in the order of m_followers
    FileWatch m_watch;
    std::ostream& m_out;
    std::ostream& m_err;
    std::vector<LogFollower> m_followers;
    std::vector<Followed> m_followed;
    ImportQueue m_imports;
    Sender m_sender;
    bool m_stateDirty = false;
    bool m_stateFailing = false;
    bool m_sessionEnded = false;
    bool m_more = false;  // a look left bytes to copy
};

Recorder::Recorder(const RecorderOptions& options, Archive archive, const ArchiveState& state,
                   FileWatch watch, std::ostream& out, std::ostream& err)
    : m_options(options),
      m_archive(std::move(archive)),
      m_watch(std::move(watch)),
      m_out(out),
      m_err(err),
      m_followed(options.logs.size()),
      m_imports(options.import, m_archive.folder()),
      m_sender(options.send, m_archive.folder()) {
    takeUp(state);
}

// Each log takes up its entry of the previous run; the session of a log that
// is no longer followed ends, so that its spool is imported.
void Recorder::takeUp(const ArchiveState& previous) {
    m_state.toImport = previous.toImport;
    m_state.toSend = previous.toSend;
    for (const fs::path& log : m_options.logs) {
        const auto same = [&log](const FollowedLog& entry) { return entry.log == log.string(); };
        const auto entry = std::find_if(previous.logs.begin(), previous.logs.end(), same);
        m_state.logs.push_back(entry == previous.logs.end() ? FollowedLog{log.string(), "", 0}
                                                              : *entry);
    }
    for (const FollowedLog& entry : previous.logs) {
        if (entry.spool.empty() || std::find(m_options.logs.begin(), m_options.logs.end(),
                                             fs::path(entry.log)) != m_options.logs.end())
            continue;
        say(entry.log + " is no longer followed: " + entry.spool + " is final");
        std::error_code error;
        const auto size = fs::file_size(m_archive.folder() / entry.spool, error);
        if (m_options.import && !error && size > entry.imported)
            m_state.toImport.push_back(entry.spool);
        if (m_options.send && !error && size > 0) m_state.toSend.push_back(entry.spool);
        m_stateDirty = true;
    }
    m_followers.reserve(m_state.logs.size());
    for (const FollowedLog& entry : m_state.logs)
        m_followers.emplace_back(entry.log,
                                 entry.spool.empty()
                                     ? std::nullopt
                                     : std::optional<fs::path>(m_archive.folder() / entry.spool),
                                 *this);
}

bool Recorder::run(const StopSignals& stop) {
    for (const LogFollower& follower : m_followers) {
        std::error_code error;
        say("following " + follower.log().string() +
            (m_watch.active() ? " with inotify" : ", looking every " + seconds(*m_options.poll)) +
            (fs::exists(follower.log(), error) ? "" : " (not there yet)"));
    }
    watchFolders();
    askFinalImports();  // those an earlier run left
    step();
    while (waitForChange(stop)) step();
    // Stopped: the last bytes copied, spools on the disk, the state written.
    // An import cut short is done again at the next start.
    lookAtLogs();
    m_imports.cancel();
    m_sender.cancel();
    for (const LogFollower& follower : m_followers) (void)follower.sync();
    const bool saved = saveState();
    say("stopped");
    return saved;
}

void Recorder::step() {
    lookAtLogs();
    if (std::exchange(m_sessionEnded, false)) askFinalImports();
    askQuietImports();
    if (m_stateDirty) (void)saveState();
    startImport();
    startSend();
}

void Recorder::lookAtLogs() {
    m_more = false;
    for (std::size_t i = 0; i < m_followers.size(); ++i) {
        const LogCheck check = m_followers[i].check();
        Followed& followed = m_followed[i];
        if (check.copied > 0) followed.grewAt = Clock::now();
        m_more = m_more || check.more;
        if (check.problem != followed.problem && !check.problem.empty())
            complain(m_followers[i].log().string() + ": " + check.problem);
        followed.problem = check.problem;
    }
}

void Recorder::watchFolders() {
    if (!m_watch.active()) return;
    for (std::size_t i = 0; i < m_followers.size(); ++i)
        if (!m_followed[i].watched)
            m_followed[i].watched = m_watch.watchFolderOf(m_followers[i].log());
}

bool Recorder::waitForChange(const StopSignals& stop) {
    std::vector<pollfd> waitOn = {{stop.descriptor(), POLLIN, 0}};
    if (m_watch.active()) waitOn.push_back({m_watch.descriptor(), POLLIN, 0});
    if (m_imports.descriptor() >= 0) waitOn.push_back({m_imports.descriptor(), POLLIN, 0});
    if (m_sender.descriptor() >= 0) waitOn.push_back({m_sender.descriptor(), POLLIN, 0});
    const auto wait = timeout();
    const int milliseconds =
        wait ? static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(*wait).count()) : -1;
    ::poll(waitOn.data(), waitOn.size(), milliseconds);  // interrupted or not, look
    if (stop.received()) return false;
    if (m_watch.active() && !m_watch.drain())
        for (Followed& followed : m_followed) followed.watched = false;
    if (const auto done = m_imports.collect()) finishImport(done->first, done->second);
    if (const auto sent = m_sender.collect(Clock::now())) finishSend(sent->first, sent->second);
    watchFolders();
    return true;
}

std::optional<Clock::duration> Recorder::timeout() const {
    if (m_more) return Clock::duration::zero();
    std::optional<Clock::duration> wait = m_options.poll;
    const auto sooner = [&wait](Clock::duration interval) {
        wait = wait ? std::min(*wait, interval) : interval;
    };
    if (m_stateDirty) sooner(kRetry);
    const Clock::time_point now = Clock::now();
    if (const auto held = m_sender.heldUntil(); held && m_options.send && !m_state.toSend.empty())
        sooner(std::max(Clock::duration::zero(), *held - now));
    for (std::size_t i = 0; i < m_followed.size(); ++i) {
        const Followed& followed = m_followed[i];
        if (!followed.problem.empty() || (m_watch.active() && !followed.watched)) sooner(kRetry);
        if (quietPending(i))
            sooner(std::max(Clock::duration::zero(), followed.grewAt + m_options.quiet - now));
    }
    return wait;
}

// Whether the log's spool holds bytes that no import has been tried with.
bool Recorder::quietPending(std::size_t index) const {
    const Spool* spool = m_followers[index].spool();
    return m_options.import && spool &&
           spool->size() > std::max(m_state.logs[index].imported, m_followed[index].quietTried);
}

void Recorder::askQuietImports() {
    const Clock::time_point now = Clock::now();
    for (std::size_t i = 0; i < m_followers.size(); ++i) {
        if (!quietPending(i) || now - m_followed[i].grewAt < m_options.quiet) continue;
        const Spool& spool = *m_followers[i].spool();
        m_imports.ask({spool.path().filename().string(), spool.size(), false});
        m_followed[i].quietTried = spool.size();
    }
}

void Recorder::askFinalImports() {
    for (const std::string& spool : m_state.toImport) m_imports.ask({spool, 0, true});
}

void Recorder::startImport() {
    if (!m_options.import) return;
    if (const auto failure = m_imports.startNext()) complain(*failure);
}

void Recorder::finishImport(const ImportRequest& request, const ImportOutcome& outcome) {
    switch (outcome.kind) {
        case ImportOutcome::Kind::Imported:
            say(request.spool + ": " + outcome.words);
            break;
        case ImportOutcome::Kind::Refused:
            complain(request.spool + " is not imported: " + outcome.words);
            break;
        case ImportOutcome::Kind::Failed:
        case ImportOutcome::Kind::Denied:
            complain("cannot import " + request.spool + ": " + outcome.words +
                     "; it stays in the archive and is imported at the next session's end or "
                     "start");
            return;
    }
    if (request.final)
        std::erase(m_state.toImport, request.spool);
    else
        for (FollowedLog& entry : m_state.logs)
            if (entry.spool == request.spool) entry.imported = request.size;
    m_stateDirty = true;
}

// Only spools the saved state names as final are sent: a recorder killed
// before it saved would otherwise take up a spool that a server holds.
void Recorder::startSend() {
    if (!m_options.send || m_stateDirty) return;
    if (const auto failure = m_sender.startNext(m_state.toSend, Clock::now())) complain(*failure);
}

void Recorder::finishSend(const std::string& spool, const ImportOutcome& outcome) {
    switch (outcome.kind) {
        case ImportOutcome::Kind::Imported:
            say(spool + ": " + outcome.words);
            break;
        case ImportOutcome::Kind::Refused:
            complain(spool + " is not sent: " + outcome.words + "; it stays in the archive");
            break;
        case ImportOutcome::Kind::Failed: {
            const auto wait = std::chrono::ceil<std::chrono::seconds>(
                m_sender.heldUntil().value_or(Clock::now()) - Clock::now());
            complain("cannot send " + spool + ": " + outcome.words + "; " +
                     outbox(m_state.toSend.size()) + " is sent again in " +
                     std::to_string(wait.count()) + " s and at the next start");
            return;
        }
        case ImportOutcome::Kind::Denied:
            complain(outcome.words + ": sending stops; " + outbox(m_state.toSend.size()) +
                     " stays in the archive and is sent at the next start");
            return;
    }
    std::erase(m_state.toSend, spool);
    m_stateDirty = true;
}

bool Recorder::saveState() {
    const std::error_code error = saveArchiveState(m_archive.statePath(), m_state);
    if (error && !m_stateFailing)
        complain("cannot write '" + m_archive.statePath().string() + "': " + error.message());
    m_stateFailing = m_stateDirty = static_cast<bool>(error);
    return !error;
}

std::optional<fs::path> Recorder::beginSession(const fs::path& log) {
    FollowedLog& entry = entryOf(log);
    const fs::path spool = m_archive.newSpool(log, std::time(nullptr), spoolNames());
    entry.spool = spool.filename().string();
    entry.imported = 0;
    // The state names the spool before the spool holds a byte: a recorder
    // killed in between takes it up again instead of leaving a spool that
    // nothing knows of.
    if (!saveState()) {
        entry.spool.clear();
        return std::nullopt;
    }
    say(log.string() + ": a session began, recorded in " + entry.spool);
    return spool;
}

void Recorder::endSession(const fs::path& log, const fs::path& spool, std::uint64_t size) {
    FollowedLog& entry = entryOf(log);
    const std::string name = spool.filename().string();
    if (size > 0) say(name + ": the session ended (" + std::to_string(size) + " bytes)");
    if (m_options.import && size > entry.imported) m_state.toImport.push_back(name);
    if (m_options.send && size > 0) m_state.toSend.push_back(name);
    entry.spool.clear();
    entry.imported = 0;
    m_stateDirty = true;
    m_sessionEnded = true;
}

FollowedLog& Recorder::entryOf(const fs::path& log) {
    return *std::find_if(m_state.logs.begin(), m_state.logs.end(),
                         [&log](const FollowedLog& entry) { return entry.log == log.string(); });
}

std::vector<std::string> Recorder::spoolNames() const {
    std::vector<std::string> names = m_state.toImport;
    for (const FollowedLog& entry : m_state.logs) names.push_back(entry.spool);
    return names;
}

}  // namespace

bool runRecorder(const RecorderOptions& given, std::ostream& out, std::ostream& err) {
    RecorderOptions options = given;
    std::string whyNot;
    auto logs = followableLogs(given.logs, whyNot);
    if (!logs) {
        err << "zefastats: " << whyNot << std::endl;
        return false;
    }
    options.logs = std::move(*logs);
    auto archive = Archive::open(options.archive, whyNot);
    if (!archive) {
        err << "zefastats: cannot use the archive '" << options.archive.string() << "': " << whyNot
            << std::endl;
        return false;
    }
    const auto state = loadArchiveState(archive->statePath(), whyNot);
    if (!state) {
        err << "zefastats: cannot use '" << archive->statePath().string() << "': " << whyNot
            << std::endl;
        return false;
    }
    const StopSignals stop;
    if (stop.descriptor() < 0) {
        err << "zefastats: cannot wait for a stop signal: " << std::strerror(errno) << std::endl;
        return false;
    }
    FileWatch watch = FileWatch::none();
    if (!options.poll) {
        watch = FileWatch::withInotify(whyNot);
        if (!watch.active()) {
            options.poll = std::chrono::seconds(1);
            out << "inotify is not available (" << whyNot << ")" << std::endl;
        }
    }
    Recorder recorder(options, std::move(*archive), *state, std::move(watch), out, err);
    return recorder.run(stop);
}

}  // namespace zefa::record
