#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zefa::test {

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the zefastats binary with the given arguments and environment
// assignments ("NAME=value"), capturing both output streams.
CommandResult runZefastats(const std::vector<std::string>& args,
                           const std::vector<std::string>& environment = {});

// A fresh directory that is removed with the object.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    [[nodiscard]] std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& text);

}  // namespace zefa::test
