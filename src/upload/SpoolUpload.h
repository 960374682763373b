#pragma once

#include <filesystem>

#include "record/ImportJob.h"
#include "upload/RecordingUpload.h"

namespace zefa::upload {

// Sends a recorder's spool to the server's season and puts the answer in
// the recorder's terms: stored, a recording of a stored match or stored
// already is Imported; a log the server will never take, or a spool that
// cannot be read, is Refused; a token it refuses, or an address without the
// API, is Denied; anything else (no answer, busy, too many uploads) Failed,
// tried again later.
[[nodiscard]] record::ImportOutcome uploadSpool(const UploadTarget& target,
                                                const std::filesystem::path& spool);

}  // namespace zefa::upload
