#include "theme/ThemeFile.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>

namespace zefa {

namespace {
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
}  // namespace

std::optional<std::string> readThemeFile(const std::filesystem::path& path,
                                         std::error_code& error) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error.assign(errno, std::generic_category());
        return std::nullopt;
    }
    std::string text;
    std::array<char, 64 * 1024> block{};
    while (const std::size_t n = std::fread(block.data(), 1, block.size(), file.get()))
        text.append(block.data(), n);
    if (std::ferror(file.get())) {
        error.assign(errno, std::generic_category());
        return std::nullopt;
    }
    return text;
}

}  // namespace zefa
