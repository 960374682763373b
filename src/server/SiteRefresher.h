#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace zefa::server {

// Brings the season's site up to date after changes to the store, one rebuild
// at a time on a thread of its own: changes asked for while a rebuild runs
// are all taken in by the next one. The pages are replaced whole, so the
// server goes on serving the site meanwhile.
class SiteRefresher {
public:
    // `rebuild` brings the whole site up to date.
    explicit SiteRefresher(std::function<void()> rebuild);
    // Finishes the rebuild running and one asked for since, then ends.
    ~SiteRefresher();
    SiteRefresher(const SiteRefresher&) = delete;
    SiteRefresher& operator=(const SiteRefresher&) = delete;

    // The store changed: a rebuild is to follow.
    void request();

private:
    void work();

    std::function<void()> m_rebuild;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_requested = false;
    bool m_ending = false;
    std::thread m_thread;  // last: starts when everything else is there
};

}  // namespace zefa::server
