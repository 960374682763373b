#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace zefa::upload {

// Where recordings go: a server's address (http or https, with the path the
// server is under, if any) and the token it knows the sender by.
struct UploadTarget {
    std::string server;
    std::string token;
};

// What the server answered to one upload.
struct UploadAnswer {
    long status = 0;          // the HTTP status; 0: no answer
    std::string failure;      // no answer: why not
    bool unreadable = false;  // no answer as the log could not be read
    std::string outcome;      // "stored", "recording" or "already"
    std::optional<long long> match;
    std::string reason;  // the server's words for a refusal
    std::chrono::seconds retryAfter{0};
};

// Posts the log at `log` to the server's recordings (POST
// /api/v1/recordings) with the time the file was last written and its
// name, read block by block as it is sent. Blocks until the server answers
// or the connection fails.
[[nodiscard]] UploadAnswer postRecording(const UploadTarget& target,
                                         const std::filesystem::path& log);

}  // namespace zefa::upload
