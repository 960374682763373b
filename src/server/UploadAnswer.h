#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "season/SeasonStore.h"

namespace zefa::server {

// The server's answer to an upload: an HTTP status, the outcome, and for a
// stored log the match it went into.
struct UploadAnswer {
    unsigned status = 200;
    std::string outcome;  // "stored", "recording", "already", or "refused"
    std::int64_t match = 0;
    std::int32_t recording = 0;  // the match's recordings now
    std::string reason;          // why it was refused, in words
    std::int64_t retryAfter = 0;  // seconds, for 429 and 503

    // {"outcome": ..., "match": N, "recording": K, "url": "matches/N.html"}
    // or {"outcome": "refused", "reason": ...}.
    [[nodiscard]] std::string json() const;
    // One sentence for people: "Stored as match 3.", "Not stored: ...".
    [[nodiscard]] std::string words() const;
    // The match's page in the site, relative to its root; empty when refused.
    [[nodiscard]] std::string url() const;
};

// What became of a log the store took.
[[nodiscard]] UploadAnswer answerOf(const season::ImportResult& result);
// A refusal; `retryAfter` for 429 and 503.
[[nodiscard]] UploadAnswer refusal(unsigned status, std::string_view reason,
                                   std::int64_t retryAfter = 0);

}  // namespace zefa::server
