#include "server/RequestLog.h"

#include <array>
#include <cstdio>

#include "server/path/SitePath.h"

namespace zefa::server {

namespace {

std::string printable(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7f && c != '\\') {
            out += c;
        } else {
            std::array<char, 5> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\x%02x", byte);
            out += escaped.data();
        }
    }
    return out;
}

}  // namespace

std::string requestLogLine(const LoggedRequest& request) {
    std::tm utc{};
    ::gmtime_r(&request.at, &utc);
    std::array<char, 32> time{};
    std::strftime(time.data(), time.size(), "%Y-%m-%dT%H:%M:%SZ", &utc);
    std::array<char, 32> seconds{};
    std::snprintf(seconds.data(), seconds.size(), "%.3fs", request.seconds);
    std::string line = std::string(time.data()) + " " + printable(request.address) + " " +
                       (request.method.empty() ? "-" : printable(request.method)) + " " +
                       printable(targetPath(request.target)) + " " +
                       (request.status ? std::to_string(request.status) : "-") + " " +
                       seconds.data();
    if (!request.label.empty()) line += " " + printable(request.label);
    if (!request.completed) line += " (connection ended early)";
    return line;
}

}  // namespace zefa::server
