#include "app/SeasonSite.h"

#include <stdlib.h>

#include <cerrno>
#include <optional>

#include "app/TemporaryPage.h"
#include "resources/UiText.h"
#include "site/SitePaths.h"
#include "site/SiteFromStore.h"

namespace zefa {

namespace {

// mkdtemp makes the folder with mode 0700 under a name nobody else holds.
std::unique_ptr<SeasonSite> makeFolder(std::string& problem) {
    std::error_code error;
    const std::filesystem::path directory = std::filesystem::temp_directory_path(error);
    std::string name = (directory / "zefastats-seasonXXXXXX").string();
    if (!error && ::mkdtemp(name.data()) == nullptr) error.assign(errno, std::generic_category());
    if (error) {
        problem = ui::fillIn(ui::kSeasonFolderUnmade, TemporaryPage::directoryName(),
                             error.message());
        return nullptr;
    }
    return std::make_unique<SeasonSite>(name);
}

}  // namespace

std::unique_ptr<SeasonSite> SeasonSite::make(const std::filesystem::path& store,
                                             const site::SiteOptions& options,
                                             std::string& problem) {
    std::optional<season::SeasonStore> seasonStore;
    try {
        seasonStore = season::SeasonStore::open(store, season::SeasonStore::OpenMode::Existing);
    } catch (const season::SeasonError& error) {
        problem = ui::fillIn(ui::kSeasonUnusable, store.string(), error.reason());
        return nullptr;
    }
    auto site = makeFolder(problem);
    if (!site) return nullptr;
    site::SiteReport report;
    try {
        report = zefa::site::updateSiteFromStore(*seasonStore, site->m_folder, options);
    } catch (const season::SeasonError& error) {
        problem = ui::fillIn(ui::kSeasonFailed, store.string(), error.reason());
        return nullptr;
    }
    if (!report.ok()) {
        std::string lines;
        for (const std::string& line : report.problems) lines += "\n" + line;
        site->m_problem = ui::fillIn(ui::kSeasonPagesMissing, store.string(), lines);
    }
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(site->indexPage(), ignored)) {
        problem = site->m_problem;
        return nullptr;
    }
    return site;
}

SeasonSite::~SeasonSite() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

std::filesystem::path SeasonSite::indexPage() const { return m_folder / site::kIndexPage; }

}  // namespace zefa
