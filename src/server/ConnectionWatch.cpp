#include "server/ConnectionWatch.h"

#include <sys/socket.h>

namespace zefa::server {

namespace {

// How often the connections are looked at.
constexpr std::chrono::milliseconds kRound{500};

}  // namespace

ConnectionWatch::ConnectionWatch(std::chrono::seconds limit)
    : m_limit(limit), m_thread([this] { work(); }) {}

ConnectionWatch::~ConnectionWatch() {
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

std::uint64_t ConnectionWatch::opened(int fd) {
    const std::lock_guard lock(m_mutex);
    const std::uint64_t id = m_nextId++;
    m_watched.emplace(id, Watched{fd, Clock::now(), true});
    return id;
}

void ConnectionWatch::setRunning(std::uint64_t id, bool running) {
    const std::lock_guard lock(m_mutex);
    if (const auto found = m_watched.find(id); found != m_watched.end()) {
        found->second.running = running;
        found->second.since = Clock::now();
    }
}

void ConnectionWatch::received(std::uint64_t id) { setRunning(id, false); }

void ConnectionWatch::answered(std::uint64_t id) { setRunning(id, true); }

void ConnectionWatch::closed(std::uint64_t id) {
    const std::lock_guard lock(m_mutex);
    m_watched.erase(id);
}

void ConnectionWatch::work() {
    std::unique_lock lock(m_mutex);
    while (!m_wake.wait_for(lock, kRound, [this] { return m_ending; })) {
        const Clock::time_point now = Clock::now();
        for (auto& [id, watched] : m_watched) {
            if (!watched.running || now - watched.since < m_limit) continue;
            // The socket stays open until the library closes it, after
            // closed(): no other connection can have its number yet.
            ::shutdown(watched.fd, SHUT_RDWR);
            watched.running = false;
        }
    }
}

}  // namespace zefa::server
