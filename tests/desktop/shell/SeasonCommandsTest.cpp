#include <QMdiArea>
#include <QMdiSubWindow>

#include "desktop/shell/DesktopProgram.h"
#include "desktop/shell/SeasonCommands.h"
#include "desktop/shell/SeasonWindow.h"
#include "season/LogImport.h"

namespace zefa::desktop {
namespace {

namespace fs = std::filesystem;

// A season store holding the two example matches.
void makeSeason(const fs::path& file) {
    auto store = season::SeasonStore::open(file, season::SeasonStore::OpenMode::CreateIfMissing);
    ClassifierCache classifiers;
    std::string reason;
    for (const char* log : {"beta1h-ctf.log", "beta2-ctf.log"})
        ASSERT_TRUE(season::importLogFile(store, fs::path(ZEFA_EXAMPLES_DIR) / log, {},
                                          classifiers, reason))
            << reason;
    store.updateRatings();
}

// Clicks the first link whose address starts with `href` and waits for its page.
bool follow(QWebEngineView* view, const QString& href) {
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    view->page()->runJavaScript(
        QStringLiteral("document.querySelector('a[href^=\"%1\"]').click()").arg(href));
    return loaded.wait(30000) && loaded.takeFirst().at(0).toBool();
}

// A season's pages open in a window of their own whose links stay inside it;
// their temporary folder goes with the window, and at exit.
TEST_F(DesktopProgram, ASeasonOpensAtItsIndexInAWindowThatTakesItsPagesAlong) {
    makeSeason(dir / "clan.db");
    CMainFrame& main = start("");
    answerFile("clan.db");
    trigger(Command::OpenSeason);
    ASSERT_EQ(fake.fileRequests.size(), 1u);
    EXPECT_EQ(asked(fake.fileRequests[0]), "Open Season|Season Stores (*.db);;All Files (*)|db|");
    auto* window = qobject_cast<SeasonWindow*>(main.mdiArea()->currentSubWindow());
    ASSERT_NE(window, nullptr) << lastMessage();
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(window->windowTitle(), "clan.db");
    EXPECT_TRUE(window->isMaximized());
    const fs::path folder = window->pages().folder();
    EXPECT_EQ(pageFiles(), std::vector{folder});
    EXPECT_TRUE(main.action(Command::Close)->isEnabled());
    EXPECT_FALSE(main.action(Command::Save)->isEnabled());
    EXPECT_FALSE(main.action(Command::AddToSeason)->isEnabled());

    QWebEngineView* view = window->view();
    ASSERT_TRUE(waitForPage(view));
    EXPECT_EQ(view->url(), QUrl::fromLocalFile(QString::fromStdString(folder / "index.html")));
    ASSERT_TRUE(follow(view, "players/"));
    ASSERT_TRUE(follow(view, "../matches/"));
    EXPECT_TRUE(view->url().path().startsWith(QString::fromStdString(folder / "matches/")));
    EXPECT_EQ(window->view(), view) << "the pages stay in their window";

    trigger(Command::Close);
    deleteClosedWindows();
    EXPECT_TRUE(main.mdiArea()->subWindowList().isEmpty());
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(menus(main.menuBar()), kNoDocumentMenus);

    answerFile("clan.db");
    trigger(Command::OpenSeason);
    EXPECT_EQ(fake.fileRequests[1].initialFile.toStdString(), path("clan.db"));
    EXPECT_EQ(pageFiles().size(), 1u);
    app->ExitInstance();
    app.reset();
    EXPECT_TRUE(pageFiles().empty());
}

// The document's log goes into the store, made when missing, once. A file
// that is no season store is told with its name and the reason; it opens no
// window and stays as it was.
TEST_F(DesktopProgram, AddToSeasonStoresTheLogOnceAndRefusesWhatIsNoStore) {
    const std::string notes(4096, 'x');
    test::writeFile(dir / "notes.db", notes);
    CMainFrame& main = start();
    for (const char* told : {" was stored as match 1.", " is already stored as match 1."}) {
        answerFile("new.db");
        trigger(Command::AddToSeason);
        EXPECT_EQ(lastMessage(), "The console log " + path("one.log") + told);
        EXPECT_FALSE(fake.messages.back().problem);
    }
    EXPECT_EQ(asked(fake.fileRequests[0]), "Add to Season|Season Stores (*.db);;All Files (*)|db|");
    EXPECT_FALSE(fake.fileRequests[0].confirmOverwrite) << "the store is added to, not replaced";
    auto store = season::SeasonStore::open(dir / "new.db", season::SeasonStore::OpenMode::Existing);
    EXPECT_EQ(store.snapshot().matches.size(), 1u);

    for (const Command command : {Command::OpenSeason, Command::AddToSeason}) {
        answerFile("notes.db");
        trigger(command);
        EXPECT_EQ(lastMessage(), "The season store " + path("notes.db") +
                                     " could not be opened: not a season store.");
        EXPECT_TRUE(fake.messages.back().problem);
    }
    EXPECT_EQ(main.mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(pageFiles(), std::vector{document().pagePath()});
    EXPECT_EQ(test::readFile(dir / "notes.db"), notes);
}

// A season's window follows its store: a match added from the program shows
// in it at once, one added from elsewhere at Reload. Save Site As writes its
// pages into a folder of the user's, but not into one of other files.
TEST_F(DesktopProgram, SeasonWindowsFollowTheirStoreAndSaveTheirSite) {
    makeSeason(dir / "clan.db");
    CMainFrame& main = start();
    QMdiSubWindow* documentFrame = main.mdiArea()->currentSubWindow();
    answerFile("clan.db");
    trigger(Command::OpenSeason);
    SeasonWindow* window = main.activeSeasonWindow();
    ASSERT_NE(window, nullptr) << lastMessage();
    ASSERT_TRUE(waitForPage(window->view()));
    const auto shows = [window](const std::string& matches) {
        return test::readFile(window->pages().indexPage()).find(matches + ", ") !=
               std::string::npos;
    };
    EXPECT_TRUE(shows("2 matches"));
    EXPECT_TRUE(main.action(Command::SaveSiteAs)->isEnabled());

    main.mdiArea()->setActiveSubWindow(documentFrame);
    EXPECT_FALSE(main.action(Command::SaveSiteAs)->isEnabled());
    QSignalSpy loaded(window->view(), &QWebEngineView::loadFinished);
    answerFile("clan.db");
    trigger(Command::AddToSeason);
    EXPECT_EQ(lastMessage(), "The console log " + path("one.log") + " was stored as match 3.");
    EXPECT_TRUE(shows("3 matches"));
    EXPECT_TRUE(!loaded.isEmpty() || loaded.wait(30000)) << "the window shows its pages again";

    {
        auto store =
            season::SeasonStore::open(dir / "clan.db", season::SeasonStore::OpenMode::Existing);
        ClassifierCache classifiers;
        std::string reason;
        ASSERT_TRUE(season::importLogFile(store, dir / "two.log", {}, classifiers, reason))
            << reason;
    }
    EXPECT_TRUE(shows("3 matches"));
    window->view()->pageAction(QWebEnginePage::Reload)->trigger();
    EXPECT_TRUE(shows("4 matches"));

    main.mdiArea()->setActiveSubWindow(window);
    answerFile("site");
    trigger(Command::SaveSiteAs);
    EXPECT_EQ(asked(fake.fileRequests.back()), "Save Site As|||");
    EXPECT_TRUE(
        lastMessage().starts_with("The season's site was written to " + path("site") + ": "))
        << lastMessage();
    EXPECT_TRUE(lastMessage().ends_with(" pages written, 0 kept, 0 removed."));
    EXPECT_TRUE(fs::exists(dir / "site/index.html"));

    answerFile(dir.path().string());
    trigger(Command::SaveSiteAs);
    EXPECT_EQ(fake.fileRequests.back().initialFile.toStdString(), path("site"));
    EXPECT_TRUE(lastMessage().starts_with("The season's site was not written to " +
                                          dir.path().string() +
                                          ": it holds files that are not of a season's site"))
        << lastMessage();
    EXPECT_TRUE(fake.messages.back().problem);
    EXPECT_FALSE(fs::exists(dir / "index.html"));
}

}  // namespace
}  // namespace zefa::desktop
