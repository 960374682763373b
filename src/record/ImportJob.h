#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace zefa::record {

// What became of a spool handed to the season, the local one or the one a
// server keeps.
struct ImportOutcome {
    enum class Kind {
        Imported,  // in the season now, or there already
        Refused,   // the season will never take it (there is no match in it)
        Failed,    // the season could not be used now: tried again later
        Denied,    // the season refuses whoever asks (a server that refuses the token)
    };
    Kind kind = Kind::Failed;
    std::string words;  // what became of it, or why not
    // Failed: not to be tried again before this long (a server's Retry-After).
    std::chrono::seconds retryAfter{0};
};

// Imports one spool; runs in a process of its own (ImportRunner).
using ImportJob = std::function<ImportOutcome(const std::filesystem::path& spool)>;

}  // namespace zefa::record
