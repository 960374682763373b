#include "server/ImportWriter.h"

#include <ctime>
#include <iostream>

#include "parser/LogText.h"
#include "season/MatchReading.h"

namespace zefa::server {

namespace {

constexpr unsigned kNotAConsoleLog = 422;
constexpr unsigned kUnavailable = 503;
// When a store that failed is worth trying again.
constexpr std::int64_t kRetryAfterFailure = 30;

}  // namespace

ImportWriter::ImportWriter(season::SeasonStore store, std::size_t maxQueued,
                           std::function<void()> stored)
    : m_store(std::move(store)),
      m_maxQueued(maxQueued),
      m_stored(std::move(stored)),
      m_thread([this] { work(); }) {}

ImportWriter::~ImportWriter() {
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

bool ImportWriter::submit(Upload upload, Answered answered) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_ending || m_queue.size() >= m_maxQueued) return false;
        m_queue.push_back({std::move(upload), std::move(answered)});
    }
    m_wake.notify_one();
    return true;
}

void ImportWriter::work() {
    for (;;) {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return m_ending || !m_queue.empty(); });
        if (m_queue.empty()) return;
        Job job = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        bool changed = false;
        job.answered(store(job.upload, changed));
        if (changed) m_stored();
    }
}

UploadAnswer ImportWriter::store(const Upload& upload, bool& changed) {
    if (upload.bytes.empty()) return refusal(kNotAConsoleLog, "the log is empty");
    if (!looksLikeText(upload.bytes))
        return refusal(kNotAConsoleLog, "not a console log: not a text file");
    std::string whyNot;
    auto reading = season::readMatch(upload.bytes, upload.gameVersion, m_classifiers, whyNot);
    if (!reading) return refusal(kNotAConsoleLog, whyNot);
    try {
        const season::ImportResult result =
            m_store.importMatch(*reading, upload.file, upload.playedAt, false, upload.label);
        changed = result.outcome != season::ImportResult::Outcome::SameBytes;
        if (changed) m_store.updateRatings();
        m_store.noteUpload(upload.label, static_cast<std::int64_t>(std::time(nullptr)));
        return answerOf(result);
    } catch (const season::SeasonError& error) {
        // The client learns only that it may try again; the reason names files.
        std::cerr << "zefastats: cannot store an upload of '" << upload.label
                  << "': " << error.what() << "\n";
        return refusal(kUnavailable, "the season store cannot take it now", kRetryAfterFailure);
    }
}

}  // namespace zefa::server
