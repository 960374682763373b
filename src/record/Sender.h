#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "record/ImportJob.h"
#include "record/ImportRunner.h"

namespace zefa::record {

// Sends the outbox's spools to a season on a server, one at a time and
// oldest first, each in a child process (ImportRunner), so that a slow
// server never keeps the logs waiting. A send that fails (the server down,
// busy, or taking too many uploads) holds the whole outbox back, in its
// order, for a while that doubles with each failure in a row, and at least
// as long as the server asked; a server that refuses the token ends sending
// until the recorder starts again.
class Sender {
public:
    using Clock = std::chrono::steady_clock;

    Sender(ImportJob job, std::filesystem::path archive)
        : m_runner(std::move(job)), m_archive(std::move(archive)) {}

    // Whether spools are sent: false once the server refused the token.
    [[nodiscard]] bool sending() const { return !m_denied; }
    // Readable when the running send has said something or ended; -1 when none runs.
    [[nodiscard]] int descriptor() const { return m_runner.descriptor(); }
    // Starts sending the outbox's first spool unless a send runs or a wait
    // holds the outbox back; the reason when it could not start.
    [[nodiscard]] std::optional<std::string> startNext(const std::vector<std::string>& outbox,
                                                       Clock::time_point now);
    // The spool that was sent and its outcome, once its send has ended.
    [[nodiscard]] std::optional<std::pair<std::string, ImportOutcome>> collect(
        Clock::time_point now);
    // Until when a failure holds the outbox back; nullopt when nothing does.
    [[nodiscard]] std::optional<Clock::time_point> heldUntil() const;
    // Ends the running send; its spool is sent another time.
    void cancel() { m_runner.cancel(); }

private:
    void holdBack(Clock::time_point now, std::chrono::seconds asked);

    ImportRunner m_runner;
    std::filesystem::path m_archive;
    std::string m_running;
    Clock::duration m_wait{0};  // the last wait; zero after a success
    Clock::time_point m_until;
    bool m_denied = false;
};

}  // namespace zefa::record
