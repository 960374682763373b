#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace zefa::record {

// What became of a spool handed to the season.
struct ImportOutcome {
    enum class Kind {
        Imported,  // in the season now, or there already
        Refused,   // the season will never take it (there is no match in it)
        Failed,    // the season could not be used now: tried again later
    };
    Kind kind = Kind::Failed;
    std::string words;  // what became of it, or why not
};

// Imports one spool; runs in a process of its own (ImportRunner).
using ImportJob = std::function<ImportOutcome(const std::filesystem::path& spool)>;

}  // namespace zefa::record
