#include "record/Archive.h"

#include <fcntl.h>
#include <sys/file.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace zefa::record {

namespace {

namespace fs = std::filesystem;

constexpr const char* kStateFolder = ".recorder";
constexpr const char* kStateFile = "state.json";
constexpr const char* kLockFile = "lock";

// The state is written under a temporary name and renamed; a recorder killed
// in between leaves the temporary file, which nothing else would remove.
void removeLeftovers(const fs::path& stateFolder) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(stateFolder, error)) {
        const std::string name = entry.path().filename().string();
        if (name != kStateFile && name != kLockFile) fs::remove(entry.path(), error);
    }
}

std::string timeName(std::time_t began) {
    std::tm local{};
    ::localtime_r(&began, &local);
    std::array<char, 32> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%Y-%m-%d_%H-%M-%S", &local);
    return std::string(text.data(), length);
}

}  // namespace

Archive::Archive(fs::path folder, FileDescriptor lock)
    : m_folder(std::move(folder)), m_lock(std::move(lock)) {}

std::optional<Archive> Archive::open(const fs::path& folder, std::string& whyNot) {
    std::error_code error;
    fs::create_directories(folder / kStateFolder, error);
    if (error) {
        whyNot = error.message();
        return std::nullopt;
    }
    const fs::path lockPath = folder / kStateFolder / kLockFile;
    FileDescriptor lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (!lock) {
        whyNot = std::strerror(errno);
        return std::nullopt;
    }
    if (::flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
        whyNot = errno == EWOULDBLOCK ? "another recorder is using it" : std::strerror(errno);
        return std::nullopt;
    }
    removeLeftovers(folder / kStateFolder);
    return Archive(folder, std::move(lock));
}

fs::path Archive::statePath() const { return m_folder / kStateFolder / kStateFile; }

fs::path Archive::newSpool(const fs::path& log, std::time_t began,
                           const std::vector<std::string>& taken) const {
    const std::string stem = timeName(began) + "_" + log.stem().string();
    for (int n = 1;; ++n) {
        const std::string name = stem + (n == 1 ? "" : "_" + std::to_string(n)) + ".log";
        std::error_code error;
        if (!fs::exists(m_folder / name, error) &&
            std::find(taken.begin(), taken.end(), name) == taken.end())
            return m_folder / name;
    }
}

}  // namespace zefa::record
