#include "desktop/core/TemporarySeasonPages.h"

#include <stdlib.h>

#include <cerrno>

#include "desktop/core/MessageText.h"
#include "desktop/core/SeasonSite.h"
#include "desktop/core/TemporaryPage.h"
#include "site/SitePaths.h"

namespace zefa::desktop {

// mkdtemp makes the folder with mode 0700 under a name nobody else holds.
std::unique_ptr<TemporarySeasonPages> TemporarySeasonPages::make(const std::filesystem::path& store,
                                                                 const site::SiteOptions& options,
                                                                 std::string& problem) {
    std::error_code error;
    const std::filesystem::path directory = std::filesystem::temp_directory_path(error);
    std::string name = (directory / "zefastats-seasonXXXXXX").string();
    if (!error && ::mkdtemp(name.data()) == nullptr) error.assign(errno, std::generic_category());
    if (error) {
        problem = fillIn(kSeasonFolderUnmade, TemporaryPage::directoryName(), error.message());
        return nullptr;
    }
    auto pages = std::make_unique<TemporarySeasonPages>(name, store, options);
    pages->update();
    if (!std::filesystem::is_regular_file(pages->indexPage(), error)) {
        problem = pages->m_problem;
        return nullptr;
    }
    return pages;
}

TemporarySeasonPages::~TemporarySeasonPages() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

void TemporarySeasonPages::update() {
    m_problem.clear();
    updateSeasonSite(m_store, m_folder, m_options, m_problem);
}

std::filesystem::path TemporarySeasonPages::indexPage() const {
    return m_folder / site::kIndexPage;
}

bool TemporarySeasonPages::showsStore(const std::filesystem::path& store) const {
    std::error_code error;
    return std::filesystem::equivalent(m_store, store, error);
}

}  // namespace zefa::desktop
