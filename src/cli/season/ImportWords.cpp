#include "cli/season/ImportWords.h"

namespace zefa::cli {

std::string importWords(const season::ImportResult& result) {
    const std::string match = std::to_string(result.matchId);
    switch (result.outcome) {
        case season::ImportResult::Outcome::Stored:
            return "stored as match " + match;
        case season::ImportResult::Outcome::SameBytes:
            return "already stored as match " + match;
        case season::ImportResult::Outcome::SameMatch:
            break;
    }
    std::string words = "recording " + std::to_string(result.recordings) + " of match " + match;
    for (const std::int64_t joined : result.joined)
        words += ", match " + std::to_string(joined) + " joined into it";
    return words;
}

}  // namespace zefa::cli
