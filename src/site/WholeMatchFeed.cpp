#include "site/WholeMatchFeed.h"

#include <tuple>

namespace zefa::site {

WholeMatchFeed::WholeMatchFeed(WholeMatchReader read)
    : m_thread([this, read = std::move(read)] { readAll(read); }) {}

WholeMatchFeed::~WholeMatchFeed() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopped = true;
        m_ready.clear();
    }
    m_room.notify_one();
}

void WholeMatchFeed::readAll(const WholeMatchReader& read) {
    try {
        read([this](const season::SeasonMatch& match) { put(match); });
    } catch (...) {
        // Thrown on the thread that takes the matches.
        const std::lock_guard lock(m_mutex);
        m_failure = std::current_exception();
    }
    {
        const std::lock_guard lock(m_mutex);
        m_ended = true;
    }
    m_readMore.notify_one();
}

void WholeMatchFeed::put(const season::SeasonMatch& match) {
    std::unique_lock lock(m_mutex);
    m_room.wait(lock, [this] { return m_stopped || m_ready.size() < kAhead; });
    if (m_stopped) return;
    m_ready.push_back(match);
    lock.unlock();
    m_readMore.notify_one();
}

std::optional<season::SeasonMatch> WholeMatchFeed::take(std::int64_t id, std::int64_t playedAt,
                                                        std::string_view sha256) {
    const auto wanted = std::tuple(playedAt, sha256);
    std::unique_lock lock(m_mutex);
    while (true) {
        m_readMore.wait(lock, [this] { return m_ended || !m_ready.empty(); });
        if (m_ready.empty()) {
            endedWell();
            return std::nullopt;
        }
        season::SeasonMatch& next = m_ready.front();
        const auto order = std::tuple(next.playedAt, std::string_view(next.sha256)) <=> wanted;
        if (order > 0) return std::nullopt;  // kept for a later match
        std::optional<season::SeasonMatch> found;
        if (order == 0 && next.id == id) found = std::move(next);
        m_ready.pop_front();
        m_room.notify_one();
        if (found) return found;
    }
}

void WholeMatchFeed::finish() {
    std::unique_lock lock(m_mutex);
    m_stopped = true;
    m_ready.clear();
    m_room.notify_one();
    m_readMore.wait(lock, [this] { return m_ended; });
    endedWell();
}

void WholeMatchFeed::endedWell() const {
    if (m_failure) std::rethrow_exception(m_failure);
}

}  // namespace zefa::site
