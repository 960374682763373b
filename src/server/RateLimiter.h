#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace zefa::server {

// A bucket of `burst` turns for each key (a token's label, a client's
// address), refilled at `perMinute`; one thread or many. Times are seconds
// on a steady clock, given by the caller.
class RateLimiter {
public:
    RateLimiter(double burst, double perMinute) : m_burst(burst), m_perSecond(perMinute / 60) {}

    // Whether the key has a turn left now.
    [[nodiscard]] bool allows(std::string_view key, double now);
    // Takes a turn; false (and nothing taken) when there is none.
    bool take(std::string_view key, double now);
    // Whole seconds until the key has a turn again (at least 1).
    [[nodiscard]] std::int64_t secondsUntilTurn(std::string_view key, double now);

private:
    struct Bucket {
        double turns = 0;
        double at = 0;
    };
    // The key's bucket, refilled up to now; full buckets of other keys are
    // dropped now and then, so that many keys cost no lasting memory.
    Bucket& refilled(std::string_view key, double now);

    double m_burst;
    double m_perSecond;
    std::mutex m_mutex;
    std::map<std::string, Bucket, std::less<>> m_buckets;
};

}  // namespace zefa::server
