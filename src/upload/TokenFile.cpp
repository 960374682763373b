#include "upload/TokenFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "record/FileDescriptor.h"

namespace zefa::upload {

namespace {

// Far beyond any token; a longer file is not a token file.
constexpr std::size_t kLongestFile = 4096;

bool tokenCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '=';
}

std::string octal(mode_t mode) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "%04o", static_cast<unsigned>(mode & 07777));
    return text.data();
}

}  // namespace

std::optional<std::string> readTokenFile(const std::filesystem::path& path, std::string& whyNot) {
    const record::FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    struct stat status {};
    if (!file || ::fstat(file.get(), &status) != 0) {
        whyNot = std::strerror(errno);
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        whyNot = "it is not a regular file";
        return std::nullopt;
    }
    if ((status.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        whyNot = "other users may read or change it (mode " + octal(status.st_mode) +
                 "); make it yours alone with chmod 600";
        return std::nullopt;
    }
    std::string text(kLongestFile + 1, '\0');
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t read = ::read(file.get(), text.data() + got, text.size() - got);
        if (read < 0 && errno == EINTR) continue;
        if (read < 0) {
            whyNot = std::strerror(errno);
            return std::nullopt;
        }
        if (read == 0) break;
        got += static_cast<std::size_t>(read);
    }
    text.resize(got);
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    const auto begin = std::find_if_not(text.begin(), text.end(), blank);
    const auto end = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    const std::string token = begin < end ? std::string(begin, end) : std::string();
    if (got > kLongestFile || token.empty() ||
        !std::all_of(token.begin(), token.end(), tokenCharacter)) {
        whyNot = token.empty() ? "it holds no token" : "it holds other text than one token";
        return std::nullopt;
    }
    return token;
}

}  // namespace zefa::upload
