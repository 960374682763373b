#include "server/SiteRefresher.h"

namespace zefa::server {

SiteRefresher::SiteRefresher(std::function<void()> rebuild)
    : m_rebuild(std::move(rebuild)), m_thread([this] { work(); }) {}

SiteRefresher::~SiteRefresher() {
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void SiteRefresher::request() {
    {
        const std::lock_guard lock(m_mutex);
        m_requested = true;
    }
    m_wake.notify_one();
}

void SiteRefresher::work() {
    for (;;) {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return m_ending || m_requested; });
        if (!m_requested) return;
        m_requested = false;
        lock.unlock();
        m_rebuild();
    }
}

}  // namespace zefa::server
