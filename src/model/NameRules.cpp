#include "model/NameRules.h"

namespace zefa {

namespace {
constexpr std::size_t kMaxKeyBody = 27;
}

std::string normaliseName(std::string_view raw) {
    std::size_t skip = 0;
    if (raw.starts_with("^3")) skip = 2;
    if (raw.substr(skip).starts_with("^7")) skip += 2;
    if (raw.size() < skip + 2) return std::string(raw);

    std::string_view body = raw.substr(skip);
    if (body.ends_with("^7")) body.remove_suffix(2);
    body = body.substr(0, kMaxKeyBody);
    if (body.ends_with("^*")) body.remove_suffix(2);

    std::string key(body);
    key += "^7";
    return key;
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
