#include "season/LogImport.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "season/LogBytes.h"

namespace zefa::season {

namespace {

std::optional<std::int64_t> modificationTime(const std::filesystem::path& path,
                                             std::string& reason) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        reason = std::strerror(errno);
        return std::nullopt;
    }
    return status.st_mtime;
}

}  // namespace

std::optional<ImportResult> importLogFile(SeasonStore& store, const std::filesystem::path& path,
                                          const LogImportOptions& options,
                                          ClassifierCache& classifiers, std::string& whyNot) {
    auto bytes = readLogFile(path.string(), whyNot);
    if (!bytes) return std::nullopt;
    const auto playedAt = options.playedAt ? options.playedAt : modificationTime(path, whyNot);
    if (!playedAt) return std::nullopt;
    const auto match = readMatch(std::move(*bytes), options.gameVersion, classifiers, whyNot);
    if (!match) return std::nullopt;
    return store.importMatch(*match, path.filename().string(), *playedAt, options.keepOverlap);
}

}  // namespace zefa::season
