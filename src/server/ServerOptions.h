#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "site/SiteUpdate.h"

namespace zefa::server {

// What a server takes before it refuses, each with its default.
struct ServerLimits {
    std::int64_t maxBodyBytes = 64 << 20;       // one log, refused while it is read
    std::uint32_t maxConnections = 512;         // open at once
    std::uint32_t requestSeconds = 60;          // to send a whole request
    std::uint32_t idleSeconds = 15;             // with nothing sent either way
    std::uint32_t tokenBurst = 100;             // uploads of one token at once...
    std::uint32_t tokenPerMinute = 60;          // ...and after that
    std::uint32_t authFailuresPerMinute = 10;   // of one address, then 429
    std::uint32_t queuedUploads = 64;           // waiting for the store, then 503
};

struct ServerOptions {
    std::string host = "127.0.0.1";
    std::uint16_t port = 8080;  // 0: any free port
    std::filesystem::path store;
    std::optional<std::filesystem::path> siteFolder;  // served, and brought up to date
    site::SiteOptions siteOptions;
    ServerLimits limits;
    // Behind a reverse proxy: the client's address is the last one the proxy
    // added to X-Forwarded-For.
    bool behindProxy = false;
};

}  // namespace zefa::server
