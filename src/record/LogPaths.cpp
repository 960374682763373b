#include "record/LogPaths.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "record/FileDescriptor.h"

namespace zefa::record {

namespace {

namespace fs = std::filesystem;

// Why the log cannot be followed; empty when it can.
std::string logProblem(const fs::path& log) {
    std::error_code error;
    const fs::file_status status = fs::status(log, error);
    if (fs::is_directory(status)) return "it is a folder";
    if (!fs::is_directory(log.parent_path(), error))
        return "there is no folder '" + log.parent_path().string() + "'";
    if (!fs::exists(status)) return {};
    if (!fs::is_regular_file(status)) return "it is not a regular file";
    const FileDescriptor file(::open(log.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    return file ? std::string() : std::strerror(errno);
}

}  // namespace

std::optional<std::vector<fs::path>> followableLogs(const std::vector<fs::path>& given,
                                                    std::string& whyNot) {
    std::vector<fs::path> logs;
    for (const fs::path& path : given) {
        const fs::path log = fs::absolute(path).lexically_normal();
        if (const std::string problem = logProblem(log); !problem.empty()) {
            whyNot = "cannot follow '" + path.string() + "': " + problem;
            return std::nullopt;
        }
        if (std::find(logs.begin(), logs.end(), log) == logs.end()) logs.push_back(log);
    }
    return logs;
}

}  // namespace zefa::record
