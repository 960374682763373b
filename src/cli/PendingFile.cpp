#include "cli/PendingFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iostream>
#include <vector>

namespace zefa::cli {

namespace {

std::error_code lastError() { return {errno, std::generic_category()}; }

std::filesystem::path temporaryTemplate(const std::string& target) {
    if (target == "-") return std::filesystem::temp_directory_path() / "zefastats.XXXXXX";
    const std::filesystem::path path(target);
    return path.parent_path() / ("." + path.filename().string() + ".XXXXXX");
}

// mkstemp creates files readable by the owner only; a page gets the usual
// permissions of a new file instead.
void applyUmask(int fd) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
}

std::error_code copyToStandardOutput(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::cout << in.rdbuf();
    std::cout.flush();
    return std::cout ? std::error_code{} : std::make_error_code(std::errc::io_error);
}

}  // namespace

PendingFile::PendingFile(Token, std::string target, std::filesystem::path temporary)
    : target_(std::move(target)), temporary_(std::move(temporary)) {}

std::unique_ptr<PendingFile> PendingFile::create(const std::string& target,
                                                 std::error_code& error) {
    std::string name = temporaryTemplate(target).string();
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    const int fd = ::mkstemp(buffer.data());
    if (fd < 0) {
        error = lastError();
        return nullptr;
    }
    applyUmask(fd);
    ::close(fd);
    return std::make_unique<PendingFile>(Token{}, target, buffer.data());
}

PendingFile::~PendingFile() {
    if (committed_ && target_ != "-") return;
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
}

std::error_code PendingFile::commit() {
    committed_ = true;
    if (target_ == "-") return copyToStandardOutput(temporary_);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        committed_ = false;
        return lastError();
    }
    return {};
}

}  // namespace zefa::cli
