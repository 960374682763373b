#include "site/SitePaths.h"

#include <algorithm>
#include <array>

namespace zefa::site {

namespace {

// Names Windows keeps for devices, whatever the extension.
constexpr std::array<std::string_view, 22> kDeviceNames = {
    "con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4", "com5", "com6", "com7",
    "com8", "com9", "lpt1", "lpt2", "lpt3", "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};

}  // namespace

std::string playerPagePath(std::string_view key) {
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string stem;
    for (const char byte : key) {
        const auto code = static_cast<unsigned char>(byte);
        if ((code >= 'a' && code <= 'z') || (code >= '0' && code <= '9')) {
            stem += byte;
        } else {
            stem += '_';
            stem += kHex[code >> 4];
            stem += kHex[code & 15];
        }
    }
    // A lone "_" never comes out of the encoding above: it marks the empty key
    // and a device name.
    if (stem.empty() || std::find(kDeviceNames.begin(), kDeviceNames.end(), stem) != kDeviceNames.end())
        stem += '_';
    return std::string(kPlayerFolder) + "/" + stem + ".html";
}

std::string matchPagePath(std::int64_t id) {
    return std::string(kMatchFolder) + "/" + std::to_string(id) + ".html";
}

}  // namespace zefa::site
