#include "desktop/core/TemporarySeasonPages.h"

#include <stdlib.h>

#include <cerrno>
#include <optional>

#include "desktop/core/MessageText.h"
#include "desktop/core/TemporaryPage.h"
#include "site/SiteFromStore.h"
#include "site/SitePaths.h"

namespace zefa::desktop {

namespace {

// mkdtemp makes the folder with mode 0700 under a name nobody else holds.
std::unique_ptr<TemporarySeasonPages> makeFolder(std::string& problem) {
    std::error_code error;
    const std::filesystem::path directory = std::filesystem::temp_directory_path(error);
    std::string name = (directory / "zefastats-seasonXXXXXX").string();
    if (!error && ::mkdtemp(name.data()) == nullptr) error.assign(errno, std::generic_category());
    if (error) {
        problem = fillIn(kSeasonFolderUnmade, TemporaryPage::directoryName(), error.message());
        return nullptr;
    }
    return std::make_unique<TemporarySeasonPages>(name);
}

}  // namespace

std::unique_ptr<TemporarySeasonPages> TemporarySeasonPages::make(const std::filesystem::path& store,
                                                                 const site::SiteOptions& options,
                                                                 std::string& problem) {
    std::optional<season::SeasonStore> seasonStore;
    try {
        seasonStore = season::SeasonStore::open(store, season::SeasonStore::OpenMode::ReadOnly);
    } catch (const season::SeasonError& error) {
        problem = fillIn(kSeasonUnusable, store.string(), error.reason());
        return nullptr;
    }
    auto pages = makeFolder(problem);
    if (!pages) return nullptr;
    site::SiteReport report;
    try {
        report = site::updateSiteFromStore(*seasonStore, pages->m_folder, options);
    } catch (const season::SeasonError& error) {
        problem = fillIn(kSeasonFailed, store.string(), error.reason());
        return nullptr;
    }
    if (!report.ok()) {
        std::string lines;
        for (const std::string& line : report.problems) lines += "\n" + line;
        pages->m_problem = fillIn(kSeasonPagesMissing, store.string(), lines);
    }
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(pages->indexPage(), ignored)) {
        problem = pages->m_problem;
        return nullptr;
    }
    return pages;
}

TemporarySeasonPages::~TemporarySeasonPages() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

std::filesystem::path TemporarySeasonPages::indexPage() const {
    return m_folder / site::kIndexPage;
}

}  // namespace zefa::desktop
