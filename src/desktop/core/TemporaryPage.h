#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

namespace zefa::desktop {

// A generated page's file in the temporary directory ($TMPDIR or /tmp). It is
// created exclusively (no file or link planted under its name can be used)
// and readable by its owner only, and it is removed with the object.
class TemporaryPage {
public:
    // Named "zefastats" + a unique part + `suffix`.
    static std::unique_ptr<TemporaryPage> create(std::string_view suffix, std::error_code& error);
    // The temporary directory, as the user named it, for messages.
    static std::string directoryName();

    explicit TemporaryPage(std::filesystem::path path) : m_path(std::move(path)) {}
    ~TemporaryPage();
    TemporaryPage(const TemporaryPage&) = delete;
    TemporaryPage& operator=(const TemporaryPage&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace zefa::desktop
