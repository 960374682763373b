#pragma once

#include <string_view>

#include "parser/LogReader.h"

namespace zefa::fuzz {

// Hands every line of an in-memory log to the reader, as the file reader would.
inline void feedLog(LogReader& reader, std::string_view log) {
    while (!log.empty()) {
        const std::size_t end = log.find('\n');
        reader.readLine(log.substr(0, end));
        log = end == std::string_view::npos ? std::string_view() : log.substr(end + 1);
    }
}

}  // namespace zefa::fuzz
