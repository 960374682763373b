#pragma once

#include <string_view>

#include "parser/LogReader.h"

namespace zefa::fuzz {

// Hands an in-memory log to the reader as the file reader would: the whole
// lines as one block, then a last line without line feed.
inline void feedLog(LogReader& reader, std::string_view log) {
    const std::size_t lastLf = log.rfind('\n');
    if (lastLf != std::string_view::npos) {
        reader.readLines(log.substr(0, lastLf + 1));
        log.remove_prefix(lastLf + 1);
    }
    if (!log.empty()) reader.readLine(log);
}

}  // namespace zefa::fuzz
