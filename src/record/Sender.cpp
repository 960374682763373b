#include "record/Sender.h"

#include <algorithm>

namespace zefa::record {

namespace {

using namespace std::chrono_literals;

// The first wait after a failure, the longest one, and the longest a
// server's Retry-After may hold the outbox back.
constexpr std::chrono::seconds kFirstWait = 1s;
constexpr std::chrono::seconds kLongestWait = 5min;
constexpr std::chrono::seconds kLongestAsked = 1h;

}  // namespace

std::optional<std::string> Sender::startNext(const std::vector<std::string>& outbox,
                                             Clock::time_point now) {
    if (m_denied || m_runner.busy() || outbox.empty() || now < m_until) return std::nullopt;
    std::string whyNot;
    if (!m_runner.start(m_archive / outbox.front(), whyNot)) {
        holdBack(now, 0s);
        return "cannot send " + outbox.front() + ": " + whyNot;
    }
    m_running = outbox.front();
    return std::nullopt;
}

std::optional<std::pair<std::string, ImportOutcome>> Sender::collect(Clock::time_point now) {
    if (!m_runner.busy()) return std::nullopt;
    auto outcome = m_runner.collect();
    if (!outcome) return std::nullopt;
    switch (outcome->kind) {
        case ImportOutcome::Kind::Failed:
            holdBack(now, outcome->retryAfter);
            break;
        case ImportOutcome::Kind::Denied:
            m_denied = true;
            break;
        case ImportOutcome::Kind::Imported:
        case ImportOutcome::Kind::Refused:
            m_wait = Clock::duration::zero();
            break;
    }
    return std::pair(std::move(m_running), std::move(*outcome));
}

std::optional<Sender::Clock::time_point> Sender::heldUntil() const {
    if (m_denied || m_wait == Clock::duration::zero()) return std::nullopt;
    return m_until;
}

void Sender::holdBack(Clock::time_point now, std::chrono::seconds asked) {
    m_wait = m_wait == Clock::duration::zero()
                 ? Clock::duration(kFirstWait)
                 : std::min<Clock::duration>(2 * m_wait, kLongestWait);
    m_until = now + std::max<Clock::duration>(m_wait, std::min(asked, kLongestAsked));
}

}  // namespace zefa::record
