#include "desktop/shell/SeasonCommands.h"

#include <QApplication>
#include <QFileInfo>

#include "desktop/core/MessageText.h"
#include "desktop/core/SeasonImport.h"
#include "desktop/core/SeasonSite.h"
#include "desktop/settings/QtText.h"
#include "desktop/shell/CZefastats2Doc.h"
#include "desktop/shell/DefaultTheme.h"
#include "desktop/shell/SeasonWindow.h"
#include "desktop/shell/ShellContext.h"
#include "desktop/shell/UiText.h"
#include "theme/ThemeFile.h"

namespace zefa::desktop {

namespace {

// A season store, starting at the one chosen last.
std::optional<QString> chooseSeasonStore(ShellContext& context, QWidget* owner,
                                         std::string_view title, const FileChooser& chooser) {
    FileRequest request{qText(title), qText(kSeasonFileFilter), qText(kSeasonFileSuffix),
                        qPath(context.seasonStore)};
    request.confirmOverwrite = false;  // a store is added to, never replaced
    auto chosen = chooser(owner, request);
    if (chosen) context.seasonStore = pathBytes(*chosen);
    return chosen;
}

// The pages look like the built-in theme, and the match pages are written
// with it and every award, as the season's site command writes them.
std::optional<site::SiteOptions> siteOptions(const ShellContext& context, const QString& store,
                                               std::string& problem) {
    const std::string themeFile = defaultThemeFile();
    std::error_code error;
    auto theme = readThemeFile(themeFile, error);
    if (!theme) {
        problem = fillIn(kThemeUnreadable, themeFile, error.message());
        return std::nullopt;
    }
    site::SiteOptions options;
    options.look.title = pathBytes(QFileInfo(store).completeBaseName());
    options.builtInTheme = std::move(*theme);
    options.matchTheme = options.builtInTheme;
    options.awards.fill(true);
    options.clock = context.pageClock;
    return options;
}

void tell(ShellContext& context, QWidget* owner, std::string text, bool problem = true) {
    context.dialogs.tell(owner, {kAppTitle, std::move(text), problem});
}

}  // namespace

SeasonWindow* openSeason(ShellContext& context, QWidget* owner) {
    const auto store =
        chooseSeasonStore(context, owner, kOpenSeasonTitle, context.dialogs.chooseFileToOpen);
    if (!store) return nullptr;
    std::string problem;
    const auto options = siteOptions(context, *store, problem);
    std::unique_ptr<TemporarySeasonPages> pages;
    if (options) {
        // Every match page of the season is written before the window opens.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        pages = TemporarySeasonPages::make(pathBytes(*store), *options, problem);
        QApplication::restoreOverrideCursor();
    }
    if (!pages) {
        tell(context, owner, problem);
        return nullptr;
    }
    if (!pages->problem().empty()) tell(context, owner, pages->problem());
    return new SeasonWindow(std::move(pages), QFileInfo(*store).fileName());
}

void addToSeason(ShellContext& context, const CZefastats2Doc& document, QWidget* owner,
                 const std::function<void(const std::string& store)>& stored) {
    const auto store =
        chooseSeasonStore(context, owner, kAddToSeasonTitle, context.dialogs.chooseFileToSave);
    if (!store) return;
    const auto& reading = document.core().versionReading();
    const std::int32_t version =
        reading ? reading->version : context.settings.generation.gameVersion;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const SeasonImportOutcome outcome =
        storeInSeason(pathBytes(*store), document.core().logFile(), version);
    QApplication::restoreOverrideCursor();
    if (outcome.stored) stored(pathBytes(*store));
    context.dialogs.tell(owner, outcome.told);
}

void saveSiteAs(ShellContext& context, const SeasonWindow& window, QWidget* owner) {
    FileRequest request{qText(kSaveSiteAsTitle), {}, {}, qPath(context.siteFolder)};
    const auto folder = context.dialogs.chooseFolder(owner, request);
    if (!folder) return;
    context.siteFolder = pathBytes(*folder);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const UserMessage told =
        saveSeasonSite(window.pages().store(), pathBytes(*folder), window.pages().options());
    QApplication::restoreOverrideCursor();
    context.dialogs.tell(owner, told);
}

}  // namespace zefa::desktop
