#include "model/NameRules.h"

#include <algorithm>

namespace zefa {

namespace {
constexpr std::size_t kMaxKeyBody = 27;
constexpr std::string_view kKeyEnd = "^7";
}  // namespace

// Built in place: looking a player up needs no allocation.
NameKey::NameKey(std::string_view raw) {
    std::size_t skip = 0;
    if (raw.starts_with("^3")) skip = 2;
    if (raw.substr(skip).starts_with("^7")) skip += 2;
    std::string_view body = raw;
    std::string_view end;
    if (raw.size() >= skip + 2) {
        body = raw.substr(skip);
        if (body.ends_with("^7")) body.remove_suffix(2);
        body = body.substr(0, kMaxKeyBody);
        if (body.ends_with("^*")) body.remove_suffix(2);
        end = kKeyEnd;
    }
    // A name kept as it is has fewer than two characters after at most four.
    char* at = std::copy(body.begin(), body.end(), m_chars.begin());
    at = std::copy(end.begin(), end.end(), at);
    m_size = static_cast<std::size_t>(at - m_chars.begin());
}

std::string stripColourCodes(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '^') {
            ++i;  // the code character goes too
            continue;
        }
        plain += text[i];
    }
    return plain;
}

}  // namespace zefa
