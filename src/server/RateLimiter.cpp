#include "server/RateLimiter.h"

#include <algorithm>
#include <cmath>

namespace zefa::server {

namespace {

// Above this many keys, full buckets are dropped.
constexpr std::size_t kKeysKept = 4096;

}  // namespace

RateLimiter::Bucket& RateLimiter::refilled(std::string_view key, double now) {
    auto found = m_buckets.find(key);
    if (found == m_buckets.end()) {
        if (m_buckets.size() >= kKeysKept) {
            std::erase_if(m_buckets, [&](const auto& entry) {
                return entry.second.turns + (now - entry.second.at) * m_perSecond >= m_burst;
            });
        }
        found = m_buckets.emplace(std::string(key), Bucket{m_burst, now}).first;
    }
    Bucket& bucket = found->second;
    bucket.turns = std::min(m_burst, bucket.turns + std::max(0.0, now - bucket.at) * m_perSecond);
    bucket.at = now;
    return bucket;
}

bool RateLimiter::allows(std::string_view key, double now) {
    const std::lock_guard lock(m_mutex);
    return refilled(key, now).turns >= 1;
}

bool RateLimiter::take(std::string_view key, double now) {
    const std::lock_guard lock(m_mutex);
    Bucket& bucket = refilled(key, now);
    if (bucket.turns < 1) return false;
    bucket.turns -= 1;
    return true;
}

std::int64_t RateLimiter::secondsUntilTurn(std::string_view key, double now) {
    const std::lock_guard lock(m_mutex);
    const Bucket& bucket = refilled(key, now);
    if (bucket.turns >= 1 || m_perSecond <= 0) return 1;
    return std::max<std::int64_t>(1, static_cast<std::int64_t>(
                                         std::ceil((1 - bucket.turns) / m_perSecond)));
}

}  // namespace zefa::server
