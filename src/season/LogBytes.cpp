#include "season/LogBytes.h"

#include <openssl/evp.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <zstd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace zefa::season {

namespace {

// The fastest level: it keeps well ahead of the reader, and logs still shrink
// about seven times (level 3 gains only some 4 % more for twice the time).
constexpr int kCompressionLevel = 1;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// A log of many megabytes, and its compressed bytes, land in fresh memory,
// and faulting that in page by page costs more than copying it; large pages
// take one fault per 2 MiB. Only advice: the bytes are the same either way.
void adviseHugePages(void* data, std::size_t size) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kHugePage = 2 * 1024 * 1024;
    const auto start = (reinterpret_cast<std::uintptr_t>(data) + kHugePage - 1) & ~(kHugePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(kHugePage - 1);
    if (start < end) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#else
    (void)data;
    (void)size;
#endif
}

}  // namespace

std::optional<std::string> readLogFile(const std::string& path, std::string& reason) {
    const std::unique_ptr<std::FILE, FileCloser> file{std::fopen(path.c_str(), "rb")};
    std::string bytes;
    struct stat status {};
    if (file && ::fstat(::fileno(file.get()), &status) == 0) {
        bytes.reserve(static_cast<std::size_t>(status.st_size));
        adviseHugePages(bytes.data(), bytes.capacity());
    }
    // Appended block by block rather than read into a resized string: resizing
    // would first fill the whole log with zeros. The file may grow while it is read.
    std::array<char, 64 * 1024> block;
    while (file) {
        const std::size_t got = std::fread(block.data(), 1, block.size(), file.get());
        bytes.append(block.data(), got);
        if (got < block.size()) break;
    }
    if (!file || std::ferror(file.get())) {
        reason = std::strerror(errno ? errno : EIO);
        return std::nullopt;
    }
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
    adviseHugePages(buffer.get(), bound);
    const std::size_t size =
        ZSTD_compress(buffer.get(), bound, bytes.data(), bytes.size(), kCompressionLevel);
    if (ZSTD_isError(size)) return {};
    std::vector<std::byte> compressed;
    compressed.reserve(size);
    adviseHugePages(compressed.data(), size);
    compressed.assign(buffer.get(), buffer.get() + size);
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
