#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace zefa::cli {

// An output file written under a temporary name beside its target and moved
// over the target only when complete, so a failed run never destroys an
// earlier file. The target "-" is standard output: the file is then kept in
// the temporary directory and copied out on commit.
class PendingFile {
public:
    static std::unique_ptr<PendingFile> create(const std::string& target, std::error_code& error);

    struct Token {  // only create() can construct one
    private:
        friend class PendingFile;
        Token() = default;
    };
    PendingFile(Token, std::string target, std::filesystem::path temporary);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return temporary_; }
    [[nodiscard]] std::error_code commit();

private:
    std::string target_;
    std::filesystem::path temporary_;
    bool committed_ = false;
};

}  // namespace zefa::cli
