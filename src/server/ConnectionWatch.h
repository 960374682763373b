#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>

namespace zefa::server {

// Ends connections that take longer than a limit to send a request: the HTTP
// library drops a connection only when nothing comes for a while, and a
// client sending a byte a second would hold one for ever. The clock runs from
// the connection's start, and again after each answer, until the request is
// received whole; a connection over the limit is shut down, which the library
// sees as the client going away.
class ConnectionWatch {
public:
    using Clock = std::chrono::steady_clock;

    explicit ConnectionWatch(std::chrono::seconds limit);
    ~ConnectionWatch();
    ConnectionWatch(const ConnectionWatch&) = delete;
    ConnectionWatch& operator=(const ConnectionWatch&) = delete;

    // A connection on socket `fd` opened; its id for the calls below.
    std::uint64_t opened(int fd);
    // Its request is received whole: the clock stops.
    void received(std::uint64_t id);
    // It was answered: the clock runs for the next request.
    void answered(std::uint64_t id);
    // It is closed (before its socket is).
    void closed(std::uint64_t id);

private:
    struct Watched {
        int fd = -1;
        Clock::time_point since;
        bool running = true;
    };
    void work();
    void setRunning(std::uint64_t id, bool running);

    std::chrono::seconds m_limit;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::map<std::uint64_t, Watched> m_watched;
    std::uint64_t m_nextId = 1;
    bool m_ending = false;
    std::thread m_thread;  // last: starts when everything else is there
};

}  // namespace zefa::server
