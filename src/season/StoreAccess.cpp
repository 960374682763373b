#include "season/StoreAccess.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zefa::season {

namespace {

constexpr std::string_view kBroughtInByAWriter =
    "the next season command of a user who may write the store brings them in";

std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// The reason access(2) gives, or nothing when this user may.
std::optional<std::string> denied(const std::filesystem::path& path, int mode) {
    if (::access(path.c_str(), mode) == 0) return std::nullopt;
    return std::string(std::strerror(errno));
}

std::filesystem::path folderOf(const std::filesystem::path& store) {
    const std::filesystem::path folder = store.parent_path();
    return folder.empty() ? "." : folder;
}

// Whether DB-wal holds changes: a missing or empty one holds none.
bool changesWaiting(const std::filesystem::path& store) {
    std::error_code error;
    const auto size = std::filesystem::file_size(writeAheadLog(store), error);
    return !error && size > 0;
}

}  // namespace

std::filesystem::path writeAheadLog(const std::filesystem::path& store) {
    return store.string() + "-wal";
}

std::filesystem::path sharedIndex(const std::filesystem::path& store) {
    return store.string() + "-shm";
}

std::optional<std::string> whyUnchangeable(const std::filesystem::path& store) {
    std::error_code ignored;
    if (std::filesystem::exists(store, ignored)) {
        if (const auto why = denied(store, W_OK)) return "read-only for this user (" + *why + ")";
    }
    if (const auto why = denied(folderOf(store), W_OK))
        return "its folder is read-only for this user (" + *why + "), and a change writes " +
               quoted(writeAheadLog(store)) + " there";
    for (const auto& companion : {writeAheadLog(store), sharedIndex(store)}) {
        if (!std::filesystem::exists(companion, ignored)) continue;
        const auto why = denied(companion, W_OK);
        if (!why) continue;
        if (changesWaiting(store))
            return quoted(writeAheadLog(store)) +
                   " holds changes not yet in the store, and this user cannot write " +
                   quoted(companion) + " (" + *why + "): " + std::string(kBroughtInByAWriter);
        return quoted(companion) + " was left by a command of another user, and this user cannot " +
               "write it (" + *why + "); it holds no changes: remove " +
               quoted(writeAheadLog(store)) + " and " + quoted(sharedIndex(store)) +
               " while no command uses the store";
    }
    return std::nullopt;
}

std::variant<ReadingWay, std::string> readingWay(const std::filesystem::path& store) {
    if (!changesWaiting(store)) return ReadingWay::Immutable;
    const std::string waiting = quoted(writeAheadLog(store)) + " holds changes not yet in the store";
    const std::string remedy = std::string(": ") + std::string(kBroughtInByAWriter);
    for (const auto& companion : {writeAheadLog(store), sharedIndex(store)}) {
        std::error_code ignored;
        if (!std::filesystem::exists(companion, ignored)) continue;
        if (const auto why = denied(companion, R_OK))
            return waiting + ", and this user cannot read " + quoted(companion) + " (" + *why +
                   ")" + remedy;
    }
    // Without DB-shm SQLite would make one: only for a user who may write the store.
    std::error_code ignored;
    if (!std::filesystem::exists(sharedIndex(store), ignored) && whyUnchangeable(store))
        return waiting + ", and " + quoted(sharedIndex(store)) + " is missing" + remedy;
    return ReadingWay::Shared;
}

std::optional<FileState> fileState(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    return FileState{status.st_dev, status.st_ino, static_cast<std::int64_t>(status.st_size),
                     static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 +
                         status.st_mtim.tv_nsec};
}

std::string immutableUri(const std::filesystem::path& store) {
    constexpr std::string_view kPlain =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789/._-~";
    constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const char c : std::filesystem::absolute(store).lexically_normal().string()) {
        if (kPlain.find(c) != std::string_view::npos) {
            uri += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            uri += {'%', kHex[byte >> 4], kHex[byte & 0xF]};
        }
    }
    return uri + "?immutable=1";
}

}  // namespace zefa::season
