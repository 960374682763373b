#include "server/CompressedPage.h"

#include <unistd.h>

#include <ranges>

#include "site/Gzip.h"

namespace zefa::server {

namespace {

// A page's plain bytes may be at most this large: ours are a few hundred KB.
constexpr std::size_t kMostPlainBytes = 64 << 20;

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

bool acceptsGzip(std::string_view acceptEncoding) {
    for (const auto part : std::views::split(acceptEncoding, ',')) {
        const std::string_view item(part.begin(), part.end());
        const std::size_t semicolon = item.find(';');
        const std::string_view coding = trimmed(item.substr(0, semicolon));
        if (coding != "gzip" && coding != "*") continue;
        // "q=0", "q=0.0" and the like refuse the coding; any other weight takes it.
        const std::string_view weight =
            semicolon == std::string_view::npos ? "" : trimmed(item.substr(semicolon + 1));
        const bool refused = (weight.starts_with("q=0") || weight.starts_with("Q=0")) &&
                             weight.find_first_not_of("0.", 2) == std::string_view::npos;
        if (!refused) return true;
    }
    return false;
}

std::optional<std::string> plainPage(const SiteFile& file) {
    if (file.size > kMostPlainBytes) return std::nullopt;
    std::string stream(file.size, '\0');
    std::size_t at = 0;
    while (at < stream.size()) {
        const ssize_t got = ::pread(file.fd.get(), stream.data() + at, stream.size() - at,
                                    static_cast<off_t>(at));
        if (got <= 0) return std::nullopt;
        at += static_cast<std::size_t>(got);
    }
    return site::gunzip(stream, kMostPlainBytes);
}

}  // namespace zefa::server
