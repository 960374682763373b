#include "site/Gzip.h"

#include <zlib.h>

#include <array>

namespace zefa::site {

namespace {

// deflateInit2/inflateInit2's window bits: 15, plus 16 for a gzip wrapper.
constexpr int kGzipWindow = 15 + 16;
constexpr std::size_t kPiece = 1 << 16;

Bytef* input(std::string_view bytes) {
    return reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
}

}  // namespace

std::string gzip(std::string_view bytes) {
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kGzipWindow, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
    stream.next_in = input(bytes);
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    // With the bound as room, one call compresses it all.
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

std::optional<std::string> gunzip(std::string_view gz, std::size_t limit) {
    z_stream stream{};
    if (inflateInit2(&stream, kGzipWindow) != Z_OK) return std::nullopt;
    stream.next_in = input(gz);
    stream.avail_in = static_cast<uInt>(gz.size());
    std::string out;
    std::array<char, kPiece> piece{};
    int status = Z_OK;
    while (status == Z_OK && out.size() <= limit) {
        stream.next_out = reinterpret_cast<Bytef*>(piece.data());
        stream.avail_out = static_cast<uInt>(piece.size());
        status = inflate(&stream, Z_NO_FLUSH);
        out.append(piece.data(), piece.size() - stream.avail_out);
    }
    // Z_BUF_ERROR: the stream was cut short.
    const bool whole = status == Z_STREAM_END && stream.avail_in == 0 && out.size() <= limit;
    inflateEnd(&stream);
    if (!whole) return std::nullopt;
    return out;
}

}  // namespace zefa::site
