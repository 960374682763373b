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
    return "the same match as " + match + ", recorded by another client";
}

}  // namespace zefa::cli
