#include "season/LogBytes.h"

#include <openssl/evp.h>
#include <zstd.h>

#include <array>

namespace zefa::season {

namespace {

// Fast enough to keep up with the reader, and logs still shrink several times.
constexpr int kCompressionLevel = 3;

}  // namespace

std::string sha256Hex(std::string_view bytes) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_sha256(), nullptr);
    static constexpr std::string_view kHex = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 0xF];
    }
    return hex;
}

std::vector<std::byte> compressLog(std::string_view bytes) {
    std::vector<std::byte> compressed(ZSTD_compressBound(bytes.size()));
    const std::size_t size = ZSTD_compress(compressed.data(), compressed.size(), bytes.data(),
                                           bytes.size(), kCompressionLevel);
    compressed.resize(ZSTD_isError(size) ? 0 : size);
    return compressed;
}

std::optional<std::string> decompressLog(std::span<const std::byte> compressed, std::size_t size) {
    std::string bytes(size, '\0');
    const std::size_t got =
        ZSTD_decompress(bytes.data(), bytes.size(), compressed.data(), compressed.size());
    if (ZSTD_isError(got) || got != size) return std::nullopt;
    return bytes;
}

}  // namespace zefa::season
