#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>

#include "season/SeasonSnapshot.h"

namespace zefa::site {

// Hands every match of the season over whole, in played order, to `take`.
using WholeMatchReader =
    std::function<void(const std::function<void(const season::SeasonMatch&)>& take)>;

// Reads the season's matches whole on a thread of its own, a few ahead of
// the thread that takes them, so that the reading goes on while that thread
// has pages made. `read` is called on the feed's thread: a store it reads is
// one of that thread's own.
class WholeMatchFeed {
public:
    explicit WholeMatchFeed(WholeMatchReader read);
    // Stops taking and waits for the reading to end.
    ~WholeMatchFeed();
    WholeMatchFeed(const WholeMatchFeed&) = delete;
    WholeMatchFeed& operator=(const WholeMatchFeed&) = delete;

    // The match whole, the matches read before it passed over; nothing when
    // the reading holds no such match (it was read at another moment of the
    // store). Matches are to be asked for in played order. Throws what the
    // reading threw.
    [[nodiscard]] std::optional<season::SeasonMatch> take(std::int64_t id, std::int64_t playedAt,
                                                          std::string_view sha256);
    // Waits for the reading to end; throws what it threw.
    void finish();

private:
    static constexpr std::size_t kAhead = 64;  // matches read and not taken yet, at most

    // On the feed's thread.
    void put(const season::SeasonMatch& match);
    void readAll(const WholeMatchReader& read);
    // Rethrows what the reading threw, once it ended.
    void endedWell() const;

    std::mutex m_mutex;
    std::condition_variable m_readMore;  // the taking thread waits for a match, or the end
    std::condition_variable m_room;      // the reading thread waits for room, or the stop
    std::deque<season::SeasonMatch> m_ready;
    bool m_ended = false;     // the reading is over
    bool m_stopped = false;   // nothing more is taken: the reading goes on unkept
    std::exception_ptr m_failure;
    std::jthread m_thread;  // last: it goes first, before what it uses
};

}  // namespace zefa::site
