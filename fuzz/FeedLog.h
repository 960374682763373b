#pragma once

#include <string_view>

#include "parser/ParserSet.h"

namespace zefa {

// Hands an in-memory log to the parsers as the file reading does: the whole
// lines as one block, then a last line without line feed.
inline void feedLog(ParserSet& parsers, std::string_view log) {
    const std::size_t lastLf = log.rfind('\n');
    if (lastLf != std::string_view::npos) {
        parsers.readLines(log.substr(0, lastLf + 1));
        log.remove_prefix(lastLf + 1);
    }
    if (!log.empty()) parsers.readLine(log);
}

}  // namespace zefa
