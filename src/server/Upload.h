#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zefa::server {

// A log sent to the server, with what the sender said of it.
struct Upload {
    std::string bytes;
    std::string label;  // of the token that sent it: the recording's source
    std::string file;   // the log's file name as the sender knows it
    std::int64_t playedAt = 0;                // seconds since the epoch, UTC
    std::optional<std::int32_t> gameVersion;  // unset: chosen from the log
};

// The query parameters of an upload, as the client sent them (decoded);
// unset when not sent.
struct UploadParameters {
    std::optional<std::string> playedAt;     // YYYY-MM-DDTHH:MM:SSZ
    std::optional<std::string> gameVersion;  // 1, 2 or auto
    std::optional<std::string> file;         // a file name without folders
};

// The file name a log is stored under when the sender gives none.
inline constexpr std::string_view kUnnamedUpload = "upload.log";

// Fills the upload's file, time (`now` when not sent) and game version from
// the parameters; the reason, for a 400 answer, when one is not fit.
[[nodiscard]] std::optional<std::string> applyParameters(const UploadParameters& parameters,
                                                         std::int64_t now, Upload& upload);

}  // namespace zefa::server
