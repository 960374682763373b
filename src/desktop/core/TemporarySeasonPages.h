#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "site/SiteUpdate.h"

namespace zefa::desktop {

// The pages of a season store, made in a folder of their own in the temporary
// directory ($TMPDIR or /tmp), readable by their owner only and removed with
// the object.
class TemporarySeasonPages {
public:
    // Makes the pages of the store at `store`. Nullptr with the problem, in
    // words for the user, when the store cannot be read or no index page could
    // be made; nothing is left behind then.
    static std::unique_ptr<TemporarySeasonPages> make(const std::filesystem::path& store,
                                                      const site::SiteOptions& options,
                                                      std::string& problem);

    explicit TemporarySeasonPages(std::filesystem::path folder) : m_folder(std::move(folder)) {}
    ~TemporarySeasonPages();
    TemporarySeasonPages(const TemporarySeasonPages&) = delete;
    TemporarySeasonPages& operator=(const TemporarySeasonPages&) = delete;

    [[nodiscard]] const std::filesystem::path& folder() const { return m_folder; }
    [[nodiscard]] std::filesystem::path indexPage() const;
    // The pages that could not be made, in words for the user (the others
    // link to them all the same); empty when every page was made.
    [[nodiscard]] const std::string& problem() const { return m_problem; }

private:
    std::filesystem::path m_folder;
    std::string m_problem;
};

}  // namespace zefa::desktop
