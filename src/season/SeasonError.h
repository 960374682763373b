#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace zefa::season {

// Why an operation of a season store did not do what it was asked: the
// store's file and the reason, in words for people.
class SeasonError : public std::runtime_error {
public:
    enum class Kind {
        Unusable,  // the file cannot be used as a season store: nothing was opened
        Refused,   // the store says no (no such match, a merge it cannot make)
        Failed,    // the store failed on the way (disk full, a damaged file, a lock held too long)
    };

    SeasonError(Kind kind, std::filesystem::path file, std::string reason)
        : std::runtime_error("season store '" + file.string() + "': " + reason),
          m_kind(kind),
          m_file(std::move(file)),
          m_reason(std::move(reason)) {}

    [[nodiscard]] Kind kind() const { return m_kind; }
    [[nodiscard]] const std::filesystem::path& file() const { return m_file; }
    [[nodiscard]] const std::string& reason() const { return m_reason; }

private:
    Kind m_kind;
    std::filesystem::path m_file;
    std::string m_reason;
};

}  // namespace zefa::season
