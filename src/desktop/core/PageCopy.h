#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace zefa::desktop {

struct PageCopyResult {
    std::error_code readError;   // the generated page could not be read
    std::error_code writeError;  // the copy could not be written or put in place

    [[nodiscard]] bool ok() const { return !readError && !writeError; }
    // What went wrong, in words for the user; empty when nothing did.
    [[nodiscard]] std::string problem(const std::filesystem::path& page,
                                      const std::string& target) const;
};

// Copies the generated page byte for byte to `target`, in chunks of 1024
// bytes. The target is replaced only by a complete copy: it is written under
// a temporary name beside it and renamed over it (a link is followed).
PageCopyResult copyPage(const std::filesystem::path& page, const std::string& target);

}  // namespace zefa::desktop
