#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CZefastats2App.h"
#include "app/CZefastats2Doc.h"
#include "app/CZefastats2View.h"
#include "app/SessionSettings.h"
#include "app/ShellContext.h"
#include "app/shell/FakeDialogs.h"
#include "support/ScratchDir.h"

namespace zefa::test {
namespace {

namespace fs = std::filesystem;
using ui::Command;

// The text of each entry of a menu, with "-" for a separator.
std::vector<std::string> entries(const QMenu* menu) {
    std::vector<std::string> texts;
    for (const QAction* action : menu->actions())
        texts.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    return texts;
}

std::vector<std::string> menuTitles(const QMenuBar* bar) {
    std::vector<std::string> titles;
    for (const QAction* action : bar->actions()) titles.push_back(action->text().toStdString());
    return titles;
}

QMenu* menuNamed(const QMenuBar* bar, const QString& title) {
    for (QAction* action : bar->actions())
        if (action->text() == title) {
            emit action->menu()->aboutToShow();
            return action->menu();
        }
    return nullptr;
}

// The page files of the program in the temporary directory.
std::vector<fs::path> pageFiles() {
    std::vector<fs::path> pages;
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
        if (entry.path().filename().string().starts_with("zefastats")) pages.push_back(entry.path());
    return pages;
}

class DesktopProgram : public testing::Test {
protected:
    void SetUp() override {
        std::error_code ignored;
        fs::remove_all(fs::path(std::getenv("XDG_CONFIG_HOME")) / "Zefa Stats", ignored);
        writeFile(dir / "one.log", "Ann was railed by Tom\nAnn was railed by Tom\n");
        writeFile(dir / "two.log", "Bob was railed by Eve\n");
        writeFile(dir / "names.thm", "<= NUMLINES =>\n<= PLAYERLOOP =>\n<= STRIPPEDNAME =>\n<= ENDLOOP =>\n");
        writeFile(dir / "plain.thm", "<html><body><h1>Plain</h1></body></html>\n");
    }

    // Starts the program without a file argument; the first wizard follows `script`.
    CMainFrame& start() {
        app = std::make_unique<CZefastats2App>(StartupArguments{}, 0, fake.dialogs());
        EXPECT_TRUE(app->InitInstance());
        app->mainFrame()->activateWindow();  // shortcuts reach the active window only
        EXPECT_TRUE(QTest::qWaitForWindowActive(app->mainFrame()));
        return *app->mainFrame();
    }
    [[nodiscard]] std::string path(const std::string& name) const { return (dir / name).string(); }
    CMainFrame& frame() const { return *app->mainFrame(); }
    GenerationSettings& settings() const { return app->context().settings.generation; }
    void trigger(Command command) const { frame().action(command)->trigger(); }
    CZefastats2Doc& document() const { return *frame().activeDocument(); }
    // Closed windows, and documents without windows, go at the next turn of
    // the event loop.
    static void deleteClosedWindows() {
        for (int turn = 0; turn < 3; ++turn)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static bool waitForPage(CZefastats2View* view) {
        QSignalSpy loaded(view, &QWebEngineView::loadFinished);
        return loaded.wait(30000) && loaded.takeFirst().at(0).toBool();
    }

    const ScratchDir dir;
    FakeDialogs fake;
    std::unique_ptr<CZefastats2App> app;
};

TEST_F(DesktopProgram, CancellingTheFirstWizardLeavesTheMenusWithoutADocument) {
    fake.cancelWizard();
    CMainFrame& main = start();
    EXPECT_EQ(fake.wizardSaw.size(), 1u) << "start-up opens the wizard at once";
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.windowTitle(), "Zefa Stats 2");
    EXPECT_EQ(menuTitles(main.menuBar()), (std::vector<std::string>{"&File", "&View", "&Help"}));
    EXPECT_EQ(entries(menuNamed(main.menuBar(), "&File")),
              (std::vector<std::string>{"&New\tCtrl+N", "-", "Recent File", "-", "E&xit"}));
    EXPECT_EQ(entries(menuNamed(main.menuBar(), "&View")),
              (std::vector<std::string>{"&Toolbar", "&Status Bar"}));
    EXPECT_EQ(entries(menuNamed(main.menuBar(), "&Help")),
              (std::vector<std::string>{"&About Zefa Stats 2..."}));
    std::vector<std::string> buttons;
    for (const QAction* action : main.toolBar()->actions())
        buttons.push_back(action->isSeparator() ? "-" : action->toolTip().toStdString());
    EXPECT_EQ(buttons, (std::vector<std::string>{"New", "Save", "-", "About"}));
    EXPECT_EQ(main.statusBar()->currentMessage(), "Ready");
    const std::pair<Command, const char*> accelerators[] = {
        {Command::SelectLogfile, "Ctrl+L"}, {Command::New, "Ctrl+N"},
        {Command::Save, "Ctrl+S"}, {Command::SelectTheme, "Ctrl+T"}};
    for (const auto& [command, keys] : accelerators)
        EXPECT_EQ(main.action(command)->shortcut(), QKeySequence(keys)) << keys;
    fake.cancelWizard();
    QTest::keyClick(&main, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(fake.wizardSaw.size(), 2u) << "Ctrl+N is File New";
    EXPECT_EQ(main.action(Command::Save)->statusTip(), "Save the active document");
    EXPECT_FALSE(main.action(Command::Save)->isEnabled());
}

TEST_F(DesktopProgram, EachNewDocumentOpensMaximisedWithTheNextTitleAndItsPage) {
    fake.acceptWizard(path("one.log"), path("names.thm"));
    CMainFrame& main = start();
    ASSERT_NE(main.activeDocument(), nullptr);
    EXPECT_EQ(document().title(), "zefs1");
    EXPECT_TRUE(document().isModified());
    EXPECT_EQ(main.windowTitle(), "Zefa Stats 2 - [zefs1]");
    EXPECT_TRUE(main.mdiArea()->currentSubWindow()->isMaximized());
    EXPECT_EQ(readFile(document().pagePath()), "2AnnTom");
    EXPECT_TRUE(document().pagePath().filename().string().ends_with(".html"));
    EXPECT_TRUE(waitForPage(main.activeView()));
    EXPECT_EQ(main.activeView()->url(), document().pageUrl());

    EXPECT_EQ(menuTitles(main.menuBar()),
              (std::vector<std::string>{"&File", "&View", "&Modify", "&Window", "&Help"}));
    EXPECT_EQ(entries(menuNamed(main.menuBar(), "&File")),
              (std::vector<std::string>{"&New\tCtrl+N", "&Close", "&Save\tCtrl+S", "Save &As...",
                                        "-", "Recent File", "-", "E&xit"}));
    EXPECT_EQ(entries(menuNamed(main.menuBar(), "&Modify")),
              (std::vector<std::string>{"Select &Theme\tCtrl+T", "Select &Logfile\tCtrl+L"}));
    EXPECT_EQ(entries(menuNamed(main.menuBar(), "&Window")),
              (std::vector<std::string>{"&New Window", "&Cascade", "&Tile", "&Arrange Icons"}));

    fake.cancelWizard();
    trigger(Command::New);
    fake.acceptWizard(path("two.log"), path("names.thm"));
    trigger(Command::New);
    EXPECT_EQ(document().title(), "zefs2") << "a cancelled New uses up no number";
    EXPECT_EQ(main.mdiArea()->subWindowList().size(), 2);
    EXPECT_TRUE(main.mdiArea()->currentSubWindow()->isMaximized());
    EXPECT_EQ(settings().logFile, path("two.log"));
}

TEST_F(DesktopProgram, SaveAsksForANameOnceThenCopiesThePageByteForByte) {
    fake.acceptWizard(path("one.log"), path("names.thm"));
    CMainFrame& main = start();
    const std::string saved = path("stats.html");
    fake.fileAnswers.push_back(QString::fromStdString(saved));
    QTest::keyClick(&main, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(fake.fileRequests.size(), 1u);
    const FileRequest& asked = fake.fileRequests[0];
    EXPECT_EQ(asked.title, "Save As");
    EXPECT_EQ(asked.filter, "Stats Files (*.html);;All Files (*)");
    EXPECT_EQ(asked.defaultSuffix, "html");
    EXPECT_EQ(asked.initialFile, "zefs1.html");
    EXPECT_EQ(readFile(saved), readFile(document().pagePath()));
    EXPECT_FALSE(document().isModified());
    EXPECT_EQ(document().title(), "stats.html");
    EXPECT_EQ(main.windowTitle(), "Zefa Stats 2 - [stats.html]");
    EXPECT_EQ(settings().outFile, saved);
    EXPECT_EQ(app->context().settings.recentFiles.entries(), std::vector<std::string>{saved});

    // Generated again from another log, saved without a question.
    fake.fileAnswers.push_back(QString::fromStdString(path("two.log")));
    trigger(Command::SelectLogfile);
    EXPECT_TRUE(document().isModified());
    trigger(Command::Save);
    EXPECT_EQ(fake.fileRequests.size(), 2u);
    EXPECT_EQ(readFile(saved), "1BobEve");
    EXPECT_FALSE(document().isModified());

    fake.fileAnswers.push_back(QString::fromStdString(path("no-folder/x.html")));
    trigger(Command::SaveAs);
    ASSERT_FALSE(fake.messages.empty());
    EXPECT_EQ(fake.messages.back().text,
              "The stats page " + path("no-folder/x.html") +
                  " could not be written: No such file or directory.");
    EXPECT_EQ(document().title(), "stats.html");
}

TEST_F(DesktopProgram, SelectThemeAndLogfileGenerateThePageAgain) {
    fake.acceptWizard(path("one.log"), path("names.thm"));
    CMainFrame& main = start();
    CZefastats2View* view = main.activeView();
    ASSERT_TRUE(waitForPage(view));
    fake.fileAnswers.push_back(QString::fromStdString(path("plain.thm")));
    trigger(Command::SelectTheme);
    ASSERT_EQ(fake.fileRequests.size(), 1u);
    EXPECT_EQ(fake.fileRequests[0].title, "Select a Theme File");
    EXPECT_EQ(fake.fileRequests[0].filter, "Theme Files (*.thm);;All Files (*)");
    EXPECT_EQ(fake.fileRequests[0].initialFile, QString::fromStdString(path("names.thm")));
    EXPECT_EQ(readFile(document().pagePath()), "<html><body><h1>Plain</h1></body></html>");
    EXPECT_EQ(settings().themeFile, path("plain.thm"));
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, "New theme has been applied.");
    EXPECT_EQ(fake.messages[0].caption, "Zefa Stats 2");
    EXPECT_EQ(fake.messages[0].owner, view);
    EXPECT_TRUE(waitForPage(view)) << "the view shows the new page";

    fake.fileAnswers.push_back(QString());
    trigger(Command::SelectLogfile);
    EXPECT_EQ(fake.fileRequests.back().title, "Select a Console Log");
    EXPECT_EQ(fake.fileRequests.back().initialFile, QString::fromStdString(path("one.log")));
    EXPECT_EQ(fake.messages.size(), 1u) << "a cancelled choice changes nothing";

    fake.fileAnswers.push_back(QString::fromStdString(path("two.log")));
    QTest::keyClick(&main, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(fake.messages.back().text, "New logfile has been parsed.");
    EXPECT_EQ(settings().logFile, path("two.log"));
    EXPECT_EQ(document().core().logFile(), path("two.log"));
}

// A page that could not be made is shown with a warning naming the file and
// the reason, and a Select command does not claim success then.
TEST_F(DesktopProgram, AFailedGenerationIsToldBesideThePage) {
    fake.acceptWizard(path("missing.log"), path("names.thm"));
    CMainFrame& main = start();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text,
              "The console log " + path("missing.log") + " could not be read: No such file or directory.");
    EXPECT_TRUE(fake.messages[0].problem);
    EXPECT_EQ(readFile(document().pagePath()), "0");
    EXPECT_TRUE(waitForPage(main.activeView()));

    fake.fileAnswers.push_back(QString::fromStdString(path("one.log")));
    trigger(Command::SelectLogfile);
    EXPECT_EQ(fake.messages.back().text, "New logfile has been parsed.");
    fake.fileAnswers.push_back(QString::fromStdString(path("gone.thm")));
    trigger(Command::SelectTheme);
    EXPECT_EQ(fake.messages.back().text,
              "The theme file " + path("gone.thm") + " could not be read: No such file or directory.");
}

TEST_F(DesktopProgram, ClosingAModifiedDocumentAsksAndItsPageFileGoes) {
    fake.acceptWizard(path("one.log"), path("names.thm"));
    CMainFrame& main = start();
    const fs::path page = document().pagePath();
    trigger(Command::NewWindow);
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(main.mdiArea()->subWindowList()[0]->windowTitle(), "zefs1:1");
    EXPECT_EQ(main.mdiArea()->subWindowList()[1]->windowTitle(), "zefs1:2");

    main.mdiArea()->currentSubWindow()->close();
    deleteClosedWindows();
    EXPECT_TRUE(fake.questions.empty()) << "another window still shows the document";
    EXPECT_EQ(main.mdiArea()->subWindowList()[0]->windowTitle(), "zefs1");

    fake.questionAnswers.push_back(QMessageBox::Cancel);
    trigger(Command::Close);
    EXPECT_EQ(fake.questions, std::vector<std::string>{"Save changes to zefs1?"});
    EXPECT_EQ(main.mdiArea()->subWindowList().size(), 1);

    fake.questionAnswers.push_back(QMessageBox::No);
    main.mdiArea()->currentSubWindow()->close();
    deleteClosedWindows();
    EXPECT_TRUE(main.mdiArea()->subWindowList().isEmpty());
    EXPECT_FALSE(fs::exists(page));
    EXPECT_EQ(menuTitles(main.menuBar()), (std::vector<std::string>{"&File", "&View", "&Help"}));
    EXPECT_EQ(main.windowTitle(), "Zefa Stats 2");
}

TEST_F(DesktopProgram, ExitAsksForEachModifiedDocumentAndCanBeCancelled) {
    fake.acceptWizard(path("one.log"), path("names.thm"));
    CMainFrame& main = start();
    fake.questionAnswers.push_back(QMessageBox::Cancel);
    EXPECT_FALSE(main.close());
    EXPECT_EQ(fake.questions.size(), 1u);

    fake.questionAnswers.push_back(QMessageBox::Yes);
    fake.fileAnswers.push_back(QString::fromStdString(path("kept.html")));
    EXPECT_TRUE(main.close());
    EXPECT_EQ(readFile(path("kept.html")), "2AnnTom");
    app->ExitInstance();
    app.reset();
    EXPECT_TRUE(pageFiles().empty()) << "no page file outlives the program";

    const SessionSettings stored;
    EXPECT_EQ(stored.generation.outFile, path("kept.html"));
    EXPECT_EQ(stored.generation.logFile, path("one.log"));
}

// Saved pages open for viewing; they are never the batch run, which would
// overwrite the stored page and end the program.
TEST_F(DesktopProgram, RecentFilesAndDroppedPagesOpenForViewing) {
    writeFile(dir / "old.html", "<p>old page</p>");
    fake.cancelWizard();
    CMainFrame& main = start();
    app->context().settings.recentFiles.add(path("old.html"));
    app->context().settings.recentFiles.add(path("vanished.html"));
    QMenu* file = menuNamed(main.menuBar(), "&File");
    const std::vector<std::string> items = entries(file);
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[2], "&1 " + path("vanished.html"));
    EXPECT_EQ(items[3], "&2 " + path("old.html"));
    EXPECT_EQ(file->actions()[3]->statusTip(), "Open this document");

    file->actions()[2]->trigger();
    EXPECT_EQ(fake.messages.back().text.find("The generated page " + path("vanished.html")), 0u);
    EXPECT_EQ(app->context().settings.recentFiles.entries(), std::vector<std::string>{path("old.html")});

    file = menuNamed(main.menuBar(), "&File");
    file->actions()[2]->trigger();
    ASSERT_NE(main.activeDocument(), nullptr);
    EXPECT_EQ(document().title(), "old.html");
    EXPECT_FALSE(document().isModified());
    EXPECT_EQ(document().pagePath(), dir / "old.html");
    EXPECT_FALSE(main.action(Command::SelectTheme)->isEnabled()) << "no log to apply a theme to";
    EXPECT_EQ(settings().outFile, "");
    EXPECT_TRUE(main.isVisible());

    fake.cancelWizard();
    main.openDroppedFiles({QUrl::fromLocalFile(QString::fromStdString(path("two.log")))});
    ASSERT_EQ(fake.wizardSaw.size(), 2u);
    EXPECT_EQ(fake.wizardSaw[1].logFile, path("two.log")) << "a dropped log goes to the wizard";
    EXPECT_EQ(settings().logFile, "") << "until the wizard ends with OK";
}

TEST_F(DesktopProgram, AFileArgumentIsTheBatchRunWithMessagesOwnedByTheMainWindow) {
    StartupArguments arguments;
    arguments.logFile = path("one.log");
    app = std::make_unique<CZefastats2App>(arguments, 0, fake.dialogs());
    EXPECT_FALSE(app->InitInstance());
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].caption, "Error");
    EXPECT_EQ(fake.messages[0].owner, app->mainFrame());
    EXPECT_FALSE(app->mainFrame()->isVisible());
    EXPECT_TRUE(fake.wizardSaw.empty());
}

}  // namespace
}  // namespace zefa::test
