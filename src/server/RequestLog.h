#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace zefa::server {

// One request as the server's log has it.
struct LoggedRequest {
    std::time_t at = 0;  // when it was answered
    std::string_view address;
    std::string_view method;  // empty: dropped before its headers were whole
    std::string_view target;  // as sent: only its path is logged
    unsigned status = 0;      // 0: it ended before an answer
    double seconds = 0;
    std::string_view label;  // of the token an upload came with, if any
    bool completed = true;   // false: the client went away or was dropped
};

// "2026-03-01T20:15:03Z 127.0.0.1 POST /api/v1/recordings 201 0.031s Viper" ("-"
// for a method or status the request never got):
// no header and no query is logged (the token travels in a header, and a
// careless client might put one in the query), and bytes that could forge a
// line are written as \xNN.
[[nodiscard]] std::string requestLogLine(const LoggedRequest& request);

}  // namespace zefa::server
