#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>
#include <vector>

#include "record/ImportJob.h"

namespace zefa::record {

struct RecorderOptions {
    std::vector<std::filesystem::path> logs;
    std::filesystem::path archive;
    // A log that has not grown this long is imported as it stands.
    std::chrono::milliseconds quiet = std::chrono::minutes(10);
    // Set: the logs are looked at this often instead of waiting for inotify.
    std::optional<std::chrono::milliseconds> poll;
    ImportJob import;  // empty: the spools are kept and not imported
    ImportJob send;    // empty: the sessions are not sent to a server
};

// Follows the logs into spools in the archive folder until SIGINT or SIGTERM,
// importing each session when it ends and when its log has been quiet for a
// while, and sending each session to a server when it ends. What it does goes to `out`, what fails to `err`. False when it cannot
// start (a log that is a folder or cannot be read, an archive it cannot use)
// or cannot write its state when it stops.
//
// The archive is its only state: started again after a kill at any moment,
// it takes up each spool where the spool's length says it stands when the
// log on disk begins with all of the spool's bytes, and otherwise makes the
// spool final and begins a new session; final spools not known to be
// imported are imported (the season recognises bytes it holds already), and
// those not known to be acknowledged by the server are sent again (the
// server answers that it holds them already).
[[nodiscard]] bool runRecorder(const RecorderOptions& options, std::ostream& out,
                               std::ostream& err);

}  // namespace zefa::record
