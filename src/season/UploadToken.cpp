#include "season/UploadToken.h"

#include <openssl/rand.h>

#include <array>
#include <stdexcept>

#include "season/LogBytes.h"
#include "season/SeasonStore.h"

namespace zefa::season {

namespace {

constexpr std::size_t kTokenBytes = 24;  // 192 bits, four characters to each three bytes
constexpr std::size_t kMaxLabelBytes = 64;
constexpr std::string_view kUrlSafe =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

}  // namespace

std::string newUploadToken() {
    std::array<unsigned char, kTokenBytes> random{};
    // Without the system's random numbers there is no token worth having.
    if (RAND_bytes(random.data(), static_cast<int>(random.size())) != 1)
        throw std::runtime_error("no random numbers to make a token of");
    std::string token;
    for (std::size_t i = 0; i < random.size(); i += 3) {
        const unsigned bits = random[i] << 16 | random[i + 1] << 8 | random[i + 2];
        for (int shift = 18; shift >= 0; shift -= 6) token += kUrlSafe[(bits >> shift) & 63];
    }
    return token;
}

std::string uploadTokenHash(std::string_view token) { return sha256Hex(token); }

std::optional<std::string> unfitTokenLabel(std::string_view label) {
    if (label.empty()) return "a token's label cannot be empty";
    if (label.size() > kMaxLabelBytes)
        return "a token's label has at most " + std::to_string(kMaxLabelBytes) + " bytes";
    for (const char c : label)
        if (c < 0x20 || c > 0x7e)
            return "a token's label is printable ASCII (letters, digits, spaces, punctuation)";
    if (label == kImportedSource) return "'imported' names the recordings of season import";
    return std::nullopt;
}

}  // namespace zefa::season
