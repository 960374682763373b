// Arbitrary bytes as the target of a request to the season server: the file
// of the site it names, if any, must be a plain relative path beneath the
// site's folder, however the target was encoded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "server/path/SitePath.h"

namespace {

// A segment that could leave the folder or reach a hidden file, or a byte
// that a file name of the site never holds.
bool unsafe(std::string_view path) {
    if (path.empty() || path.front() == '/' || path.back() == '/') return true;
    for (std::size_t begin = 0; begin <= path.size();) {
        std::size_t end = path.find('/', begin);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view segment = path.substr(begin, end - begin);
        if (segment.empty() || segment.front() == '.') return true;
        begin = end + 1;
    }
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || c == '\\') return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view target(reinterpret_cast<const char*>(data), size);
    const std::string_view path = zefa::server::targetPath(target);
    if (path.size() > target.size() || target.substr(0, path.size()) != path) std::abort();
    if (const auto file = zefa::server::sitePath(target); file && unsafe(*file)) std::abort();
    return 0;
}
