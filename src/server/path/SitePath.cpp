#include "server/path/SitePath.h"

#include <algorithm>

namespace zefa::server {

namespace {

// Longer paths are no page of a site (PATH_MAX is 4096; names stay short).
constexpr std::size_t kMaxPath = 1024;

std::optional<int> hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return std::nullopt;
}

// The bytes the percent-encoding stands for; nullopt when it is broken.
std::optional<std::string> percentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const auto high = hexDigit(text[i + 1]);
        const auto low = hexDigit(text[i + 2]);
        if (!high || !low) return std::nullopt;
        decoded += static_cast<char>(*high * 16 + *low);
        i += 2;
    }
    return decoded;
}

bool fitSegment(std::string_view segment) {
    if (segment.empty() || segment.front() == '.') return false;  // "", ".", "..", ".hidden"
    for (const char c : segment) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || c == '\\') return false;
    }
    return true;
}

}  // namespace

std::string_view targetPath(std::string_view target) {
    return target.substr(0, target.find_first_of("?#"));
}

std::optional<std::string> sitePath(std::string_view target) {
    const std::string_view path = targetPath(target);
    if (path.empty() || path.front() != '/' || path.size() > kMaxPath) return std::nullopt;
    auto decoded = percentDecoded(path.substr(1));
    if (!decoded) return std::nullopt;
    if (decoded->empty() || decoded->back() == '/') *decoded += "index.html";
    for (std::size_t begin = 0; begin <= decoded->size();) {
        const std::size_t end = std::min(decoded->find('/', begin), decoded->size());
        if (!fitSegment(std::string_view(*decoded).substr(begin, end - begin))) return std::nullopt;
        begin = end + 1;
    }
    return decoded;
}

}  // namespace zefa::server
