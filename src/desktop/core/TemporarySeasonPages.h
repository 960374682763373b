#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "site/SiteUpdate.h"

namespace zefa::desktop {

// The pages of a season store, made in a folder of their own in the temporary
// directory ($TMPDIR or /tmp), readable by their owner only and removed with
// the object; brought up to date with the store on request.
class TemporarySeasonPages {
public:
    // Makes the pages of the store at `store`. Nullptr with the problem, in
    // words for the user, when the store cannot be read or no index page could
    // be made; nothing is left behind then.
    static std::unique_ptr<TemporarySeasonPages> make(const std::filesystem::path& store,
                                                      const site::SiteOptions& options,
                                                      std::string& problem);

    TemporarySeasonPages(std::filesystem::path folder, std::filesystem::path store,
                         site::SiteOptions options)
        : m_folder(std::move(folder)), m_store(std::move(store)), m_options(std::move(options)) {}
    ~TemporarySeasonPages();
    TemporarySeasonPages(const TemporarySeasonPages&) = delete;
    TemporarySeasonPages& operator=(const TemporarySeasonPages&) = delete;

    // Brings the pages up to date with the store: those of matches and
    // players that changed are made again, those that are gone removed.
    void update();

    [[nodiscard]] const std::filesystem::path& folder() const { return m_folder; }
    [[nodiscard]] std::filesystem::path indexPage() const;
    [[nodiscard]] const std::filesystem::path& store() const { return m_store; }
    [[nodiscard]] const site::SiteOptions& options() const { return m_options; }
    // Whether these are the pages of the store at `store`, however its path
    // is written.
    [[nodiscard]] bool showsStore(const std::filesystem::path& store) const;
    // What went wrong at the last update, in words for the user (pages that
    // were not made, the others link to them all the same); empty when
    // nothing did.
    [[nodiscard]] const std::string& problem() const { return m_problem; }

private:
    std::filesystem::path m_folder;
    std::filesystem::path m_store;
    site::SiteOptions m_options;
    std::string m_problem;
};

}  // namespace zefa::desktop
