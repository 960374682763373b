#include "desktop/core/TemporaryPage.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace zefa::desktop {

std::unique_ptr<TemporaryPage> TemporaryPage::create(std::string_view suffix,
                                                     std::error_code& error) {
    const std::filesystem::path directory = std::filesystem::temp_directory_path(error);
    if (error) return nullptr;
    std::string name = (directory / "zefastatsXXXXXX").string();
    name += suffix;
    // mkstemps opens with O_CREAT | O_EXCL and mode 0600.
    const int fd = ::mkstemps(name.data(), static_cast<int>(suffix.size()));
    if (fd < 0) {
        error.assign(errno, std::generic_category());
        return nullptr;
    }
    ::close(fd);
    return std::make_unique<TemporaryPage>(name);
}

std::string TemporaryPage::directoryName() {
    const char* directory = std::getenv("TMPDIR");
    return directory != nullptr && *directory != '\0' ? directory : "/tmp";
}

TemporaryPage::~TemporaryPage() {
    std::error_code ignored;
    std::filesystem::remove(m_path, ignored);
}

}  // namespace zefa::desktop
