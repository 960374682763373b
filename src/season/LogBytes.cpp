#include "season/LogBytes.h"

#include <openssl/evp.h>
#include <sys/stat.h>
#include <zstd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace zefa::season {

namespace {

// Fast enough to keep up with the reader, and logs still shrink several times.
constexpr int kCompressionLevel = 3;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::optional<std::string> readLogFile(const std::string& path, std::string& reason) {
    const std::unique_ptr<std::FILE, FileCloser> file{std::fopen(path.c_str(), "rb")};
    std::string bytes;
    std::size_t got = 0;
    struct stat status {};
    const std::size_t expected =
        file && ::fstat(::fileno(file.get()), &status) == 0 ? static_cast<std::size_t>(status.st_size) : 0;
    // One read when the size holds; the file may grow while it is read.
    for (std::size_t size = expected + 1; file; size *= 2) {
        bytes.resize(size);
        got += std::fread(bytes.data() + got, 1, size - got, file.get());
        if (got < size) break;
    }
    if (!file || std::ferror(file.get())) {
        reason = std::strerror(errno ? errno : EIO);
        return std::nullopt;
    }
    bytes.resize(got);
    return bytes;
}

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
    // Left uninitialised: only the pages the compressor writes are touched.
    const std::size_t bound = ZSTD_compressBound(bytes.size());
    const std::unique_ptr<std::byte[]> buffer(new std::byte[bound]);
    const std::size_t size =
        ZSTD_compress(buffer.get(), bound, bytes.data(), bytes.size(), kCompressionLevel);
    if (ZSTD_isError(size)) return {};
    return std::vector<std::byte>(buffer.get(), buffer.get() + size);
}

std::optional<std::string> decompressLog(std::span<const std::byte> compressed, std::size_t size) {
    std::string bytes(size, '\0');
    const std::size_t got =
        ZSTD_decompress(bytes.data(), bytes.size(), compressed.data(), compressed.size());
    if (ZSTD_isError(got) || got != size) return std::nullopt;
    return bytes;
}

}  // namespace zefa::season
