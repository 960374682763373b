#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <deque>
#include <optional>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CZefastats2App.h"
#include "app/CZefastats2Doc.h"
#include "app/CZefastats2View.h"
#include "app/SeasonWindow.h"
#include "app/SessionSettings.h"
#include "app/ShellContext.h"
#include "app/ShellDialogs.h"
#include "app/VersionPane.h"
#include "season/LogImport.h"
#include "support/ScratchDir.h"

namespace zefa::test {
namespace {

namespace fs = std::filesystem;
using ui::Command;
using Strings = std::vector<std::string>;

template <typename T>
T next(std::deque<T>& answers, T fallback = {}) {
    if (answers.empty()) return fallback;
    T answer = answers.front();
    answers.pop_front();
    return answer;
}

// Dialogs that answer from scripts and remember what they were asked, so that
// the windows can be driven without anybody at the keyboard. An unscripted
// question is cancelled.
struct FakeDialogs {
    struct Message {
        std::string caption, text;
        bool problem;
        QWidget* owner;
    };
    // The log and theme a wizard chooses before OK; nothing: Cancel.
    std::deque<std::optional<std::pair<std::string, std::string>>> wizardAnswers;
    std::vector<GenerationSettings> wizardSaw;  // the settings each wizard started from
    std::deque<QString> fileAnswers;            // an empty answer cancels the dialog
    std::vector<FileRequest> fileRequests;
    std::deque<QMessageBox::StandardButton> questionAnswers;
    Strings questions;
    std::vector<Message> messages;

    // Dialogs that consult this script; it must outlive them.
    ShellDialogs dialogs() {
        const auto chooseFile = [this](QWidget*, const FileRequest& request) {
            fileRequests.push_back(request);
            const QString answer = next(fileAnswers);
            return answer.isEmpty() ? std::nullopt : std::optional<QString>(answer);
        };
        return {
            .runWizard =
                [this](GenerationSettings& settings, QWidget*) {
                    wizardSaw.push_back(settings);
                    const auto answer = next(wizardAnswers);
                    if (answer) std::tie(settings.logFile, settings.themeFile) = *answer;
                    return answer.has_value();
                },
            .chooseFileToOpen = chooseFile,
            .chooseFileToSave = chooseFile,
            .tell =
                [this](QWidget* owner, const UserMessage& message) {
                    messages.push_back(
                        {std::string(message.caption), message.text, message.problem, owner});
                },
            .askYesNoCancel =
                [this](QWidget*, const UserMessage& message) {
                    questions.push_back(message.text);
                    return next(questionAnswers, QMessageBox::Cancel);
                },
        };
    }
};

// Each menu of the bar, brought up to date, as its title and entries joined
// by "|", with "-" for a separator.
Strings menus(const QMenuBar* bar) {
    Strings texts;
    for (const QAction* title : bar->actions()) {
        emit title->menu()->aboutToShow();
        std::string text = title->text().toStdString();
        for (const QAction* action : title->menu()->actions())
            text += "|" + (action->isSeparator() ? "-" : action->text().toStdString());
        texts.push_back(text);
    }
    return texts;
}
const Strings kNoDocumentMenus = {"&File|&New\tCtrl+N|&Open Season...|-|Recent File|-|E&xit",
                                  "&View|&Toolbar|&Status Bar", "&Help|&About Zefa Stats 2..."};

std::string asked(const FileRequest& request) {
    return (QStringList{request.title, request.filter, request.defaultSuffix, request.initialFile})
        .join('|')
        .toStdString();
}

// The page files of the program in the temporary directory.
std::vector<fs::path> pageFiles() {
    std::vector<fs::path> pages;
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
        if (entry.path().filename().string().starts_with("zefastats"))
            pages.push_back(entry.path());
    return pages;
}

class DesktopProgram : public testing::Test {
protected:
    void SetUp() override {
        std::error_code ignored;
        fs::remove_all(fs::path(std::getenv("XDG_CONFIG_HOME")) / "Zefa Stats", ignored);
        writeFile(dir / "one.log", "Ann was railed by Tom\nAnn was railed by Tom\n");
        writeFile(dir / "two.log", "Bob was railed by Eve\n");
        writeFile(dir / "names.thm",
                  "<= NUMLINES =>\n<= PLAYERLOOP =>\n<= STRIPPEDNAME =>\n<= ENDLOOP =>\n");
        writeFile(dir / "plain.thm", "<html><body><h1>Plain</h1></body></html>\n");
    }

    // Starts the program without a file argument; the first wizard ends with
    // OK after choosing this log and theme, or with Cancel for no log.
    CMainFrame& start(const std::string& log = "one.log", const std::string& theme = "names.thm") {
        wizard(log, theme);
        app = std::make_unique<CZefastats2App>(StartupArguments{}, 0, fake.dialogs());
        EXPECT_TRUE(app->InitInstance());
        app->mainFrame()->activateWindow();  // shortcuts reach the active window only
        EXPECT_TRUE(QTest::qWaitForWindowActive(app->mainFrame()));
        return *app->mainFrame();
    }
    void wizard(const std::string& log, const std::string& theme = "names.thm") {
        if (log.empty()) return fake.wizardAnswers.push_back(std::nullopt);
        fake.wizardAnswers.push_back(std::pair(path(log), path(theme)));
    }
    void answerFile(const std::string& name) {
        fake.fileAnswers.push_back(name.empty() ? QString() : QString::fromStdString(path(name)));
    }
    [[nodiscard]] std::string path(const std::string& name) const {
        return name.starts_with('/') ? name : (dir / name).string();
    }
    CMainFrame& frame() const { return *app->mainFrame(); }
    GenerationSettings& settings() const { return app->context().settings.generation; }
    void trigger(Command command) const { frame().action(command)->trigger(); }
    CZefastats2Doc& document() const { return *frame().activeDocument(); }
    std::string lastMessage() const {
        return fake.messages.empty() ? "" : fake.messages.back().text;
    }
    // Closed windows, and documents without windows, go at the next turn of
    // the event loop.
    static void deleteClosedWindows() {
        for (int turn = 0; turn < 3; ++turn)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static bool waitForPage(QWebEngineView* view) {
        QSignalSpy loaded(view, &QWebEngineView::loadFinished);
        return loaded.wait(30000) && loaded.takeFirst().at(0).toBool();
    }

    const ScratchDir dir;
    FakeDialogs fake;
    std::unique_ptr<CZefastats2App> app;
};
using DesktopProgramOnScreen = DesktopProgram;

TEST_F(DesktopProgram, CancellingTheFirstWizardLeavesTheMenusWithoutADocument) {
    CMainFrame& main = start("");
    EXPECT_EQ(fake.wizardSaw.size(), 1u) << "start-up opens the wizard at once";
    EXPECT_EQ(fake.wizardSaw[0].themeFile, std::string(ZEFA_THEMES_DIR) + "/default.thm")
        << "a new user starts with the built-in theme";
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.windowTitle(), "Zefa Stats 2");
    EXPECT_EQ(menus(main.menuBar()), kNoDocumentMenus);
    Strings buttons;
    for (const QAction* action : main.toolBar()->actions())
        buttons.push_back(action->isSeparator() ? "-" : action->toolTip().toStdString());
    EXPECT_EQ(buttons, (Strings{"New", "Save", "-", "About"}));
    EXPECT_EQ(main.statusBar()->currentMessage(), "Ready");
    wizard("");
    QTest::keyClick(&main, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(fake.wizardSaw.size(), 2u) << "Ctrl+N is File New";
    EXPECT_FALSE(main.action(Command::Save)->isEnabled());
}

TEST_F(DesktopProgram, EachNewDocumentOpensMaximisedWithTheNextTitleAndItsPage) {
    CMainFrame& main = start();
    ASSERT_NE(main.activeDocument(), nullptr);
    EXPECT_EQ(document().title(), "zefs1");
    EXPECT_TRUE(document().isModified());
    EXPECT_EQ(main.windowTitle(), "Zefa Stats 2 - [zefs1 *]") << "unsaved changes are marked";
    EXPECT_TRUE(main.mdiArea()->currentSubWindow()->isMaximized());
    EXPECT_EQ(readFile(document().pagePath()), "2AnnTom");
    EXPECT_TRUE(document().pagePath().filename().string().ends_with(".html"));
    EXPECT_TRUE(waitForPage(main.activeView()));
    EXPECT_EQ(main.activeView()->url(), document().pageUrl());
    EXPECT_EQ(
        menus(main.menuBar()),
        (Strings{
            "&File|&New\tCtrl+N|&Open Season...|&Close|&Save\tCtrl+S|Save &As...|A&dd to "
            "Season...|-|Recent File|-|E&xit",
            "&View|&Toolbar|&Status Bar", "&Modify|Select &Theme\tCtrl+T|Select &Logfile\tCtrl+L",
            "&Window|&New Window|&Cascade|&Tile|&Arrange Icons|-|&1 zefs1 *",
            "&Help|&About Zefa Stats 2..."}));

    wizard("");
    trigger(Command::New);
    wizard("missing.log");
    trigger(Command::New);
    wizard("two.log");
    trigger(Command::New);
    EXPECT_EQ(document().title(), "zefs2") << "a cancelled or failed New uses up no number";
    EXPECT_EQ(main.mdiArea()->subWindowList().size(), 2);
    EXPECT_TRUE(main.mdiArea()->currentSubWindow()->isMaximized());
    EXPECT_EQ(settings().logFile, path("two.log"));

    // The Window menu lists the windows, the active one checked, and brings
    // up the one chosen.
    const auto windowList = [&main] {
        QMenu* menu = main.menuBar()->actions()[3]->menu();
        emit menu->aboutToShow();
        std::string checks;
        for (const QAction* action : menu->actions().mid(5))
            checks += action->text().toStdString() + (action->isChecked() ? "+" : "-");
        return std::pair(checks, menu->actions().mid(5));
    };
    EXPECT_EQ(windowList().first, "&1 zefs1 *-&2 zefs2 *+");
    windowList().second[0]->trigger();
    EXPECT_EQ(document().title(), "zefs1");
    EXPECT_EQ(windowList().first, "&1 zefs1 *+&2 zefs2 *-");
}

TEST_F(DesktopProgram, SaveAsksForANameOnceThenCopiesThePageByteForByte) {
    CMainFrame& main = start();
    const std::string saved = path("stats.html");
    answerFile(saved);
    QTest::keyClick(&main, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(fake.fileRequests.size(), 1u);
    EXPECT_EQ(asked(fake.fileRequests[0]),
              "Save As|Stats Files (*.html);;All Files (*)|html|zefs1.html");
    EXPECT_EQ(readFile(saved), readFile(document().pagePath()));
    EXPECT_FALSE(document().isModified());
    EXPECT_EQ(document().title(), "stats.html");
    EXPECT_EQ(main.windowTitle(), "Zefa Stats 2 - [stats.html]");
    EXPECT_EQ(settings().outFile, saved);
    EXPECT_EQ(app->context().settings.recentFiles.entries(), Strings{saved});

    // Generated again from another log, saved without a question.
    answerFile("two.log");
    trigger(Command::SelectLogfile);
    EXPECT_TRUE(document().isModified());
    trigger(Command::Save);
    EXPECT_EQ(fake.fileRequests.size(), 2u);
    EXPECT_EQ(readFile(saved), "1BobEve");
    EXPECT_FALSE(document().isModified());

    answerFile("no-folder/x.html");
    trigger(Command::SaveAs);
    EXPECT_EQ(lastMessage(), "The stats page " + path("no-folder/x.html") +
                                 " could not be written: No such file or directory.");
    EXPECT_EQ(document().title(), "stats.html");
}

// A regeneration shows in every window of the document, not only the one
// whose command made it.
TEST_F(DesktopProgram, SelectThemeAndLogfileGenerateThePageAgainInEveryView) {
    CMainFrame& main = start();
    CZefastats2View* first = main.activeView();
    ASSERT_TRUE(waitForPage(first));
    trigger(Command::NewWindow);
    CZefastats2View* view = main.activeView();
    ASSERT_TRUE(waitForPage(view));
    QSignalSpy firstLoaded(first, &QWebEngineView::loadFinished);
    answerFile("plain.thm");
    QTest::keyClick(&main, Qt::Key_T, Qt::ControlModifier);
    ASSERT_EQ(fake.fileRequests.size(), 1u);
    EXPECT_EQ(asked(fake.fileRequests[0]),
              "Select a Theme File|Theme Files (*.thm);;All Files (*)|thm|" + path("names.thm"));
    EXPECT_EQ(readFile(document().pagePath()), "<html><body><h1>Plain</h1></body></html>");
    EXPECT_EQ(settings().themeFile, path("plain.thm"));
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, "New theme has been applied.");
    EXPECT_EQ(fake.messages[0].caption, "Zefa Stats 2");
    EXPECT_EQ(fake.messages[0].owner, view);
    EXPECT_TRUE(waitForPage(view)) << "the view shows the new page";
    EXPECT_TRUE(firstLoaded.count() > 0 || firstLoaded.wait(30000)) << "and so does the other";

    answerFile("");
    trigger(Command::SelectLogfile);
    EXPECT_EQ(
        asked(fake.fileRequests.back()),
        "Select a Console Log|Console Log Files (*.log);;All Files (*)|log|" + path("one.log"));
    EXPECT_EQ(fake.messages.size(), 1u) << "a cancelled choice changes nothing";

    answerFile("two.log");
    QTest::keyClick(&main, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(lastMessage(), "New logfile has been parsed.");
    EXPECT_EQ(settings().logFile, path("two.log"));
    EXPECT_EQ(document().core().logFile(), path("two.log"));
}

// A page that could not be made is told with the file and the reason; a new
// document then goes, and a page that failed is never saved.
TEST_F(DesktopProgram, AFailedGenerationLeavesNoDocumentAndNothingToSave) {
    CMainFrame& main = start("missing.log");
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(lastMessage(), "The console log " + path("missing.log") +
                                 " could not be read: No such file or directory.");
    EXPECT_TRUE(fake.messages[0].problem);
    EXPECT_EQ(main.activeDocument(), nullptr);
    EXPECT_EQ(menus(main.menuBar()), kNoDocumentMenus);
    EXPECT_TRUE(pageFiles().empty());

    wizard("one.log");
    trigger(Command::New);
    EXPECT_EQ(document().title(), "zefs1");
    answerFile("two.log");
    trigger(Command::SelectLogfile);
    EXPECT_EQ(lastMessage(), "New logfile has been parsed.");
    answerFile("gone.thm");
    trigger(Command::SelectTheme);
    EXPECT_EQ(lastMessage(), "The theme file " + path("gone.thm") +
                                 " could not be read: No such file or directory.");
    EXPECT_FALSE(document().isModified()) << "closing it asks nothing";
    trigger(Command::Save);
    EXPECT_EQ(lastMessage(),
              "zefs1 holds no complete stats page to save; generate it again first.");
    EXPECT_EQ(fake.fileRequests.size(), 2u) << "no name is asked for";
    EXPECT_TRUE(app->context().settings.recentFiles.entries().empty());
    EXPECT_EQ(settings().outFile, "");
}

// The status bar tells which message set read the log; a fixed set that
// reads it worse than the other is kept, with a one-click way to the other.
TEST_F(DesktopProgram, TheStatusBarTellsTheMessageSetAndOffersABetterOne) {
    const std::string beta2 = std::string(ZEFA_EXAMPLES_DIR) + "/beta2-ctf.log";
    CMainFrame& main = start(beta2);
    const VersionPane& pane = *main.versionPane();
    EXPECT_TRUE(pane.isVisibleTo(&main));
    EXPECT_EQ(pane.text(), "Zefa Beta2 or Newer (detected from the log)");
    EXPECT_FALSE(pane.readAsButton()->isVisibleTo(&main));

    wizard("one.log");
    trigger(Command::New);
    settings().detectVersion = false;
    settings().gameVersion = 1;
    answerFile(beta2);
    trigger(Command::SelectLogfile);
    EXPECT_EQ(pane.text(), "Zefa Beta1H or Older - This log reads better as Zefa Beta2 or Newer.");
    ASSERT_TRUE(pane.readAsButton()->isVisibleTo(&main));
    EXPECT_EQ(pane.readAsButton()->text(), "Read as Beta2 or newer");
    pane.readAsButton()->click();
    EXPECT_EQ(settings().gameVersion, 2);
    EXPECT_EQ(pane.text(), "Zefa Beta2 or Newer");
    EXPECT_FALSE(pane.readAsButton()->isVisibleTo(&main));
    EXPECT_EQ(document().title(), "zefs2") << "the document read again stays active";
    EXPECT_EQ(document().core().generator()->stats().players.size(), 14u);
}

TEST_F(DesktopProgram, ClosingAModifiedDocumentAsksAndItsPageFileGoes) {
    CMainFrame& main = start();
    const fs::path page = document().pagePath();
    trigger(Command::NewWindow);
    const auto titles = [&main] {
        Strings texts;
        for (const QMdiSubWindow* window : main.mdiArea()->subWindowList())
            texts.push_back(window->windowTitle().toStdString());
        return texts;
    };
    EXPECT_EQ(titles(), (Strings{"zefs1:1 *", "zefs1:2 *"}));

    main.mdiArea()->currentSubWindow()->close();
    deleteClosedWindows();
    EXPECT_TRUE(fake.questions.empty()) << "another window still shows the document";
    EXPECT_EQ(titles(), Strings{"zefs1 *"});

    fake.questionAnswers.push_back(QMessageBox::Cancel);
    trigger(Command::Close);
    EXPECT_EQ(fake.questions, Strings{"Save changes to zefs1?"});
    EXPECT_EQ(titles(), Strings{"zefs1 *"});

    fake.questionAnswers.push_back(QMessageBox::No);
    main.mdiArea()->currentSubWindow()->close();
    deleteClosedWindows();
    EXPECT_TRUE(titles().empty());
    EXPECT_FALSE(fs::exists(page));
    EXPECT_EQ(menus(main.menuBar()), kNoDocumentMenus);
    EXPECT_EQ(main.windowTitle(), "Zefa Stats 2");
}

TEST_F(DesktopProgram, ExitAsksForEachModifiedDocumentAndCanBeCancelled) {
    CMainFrame& main = start();
    fake.questionAnswers.push_back(QMessageBox::Cancel);
    EXPECT_FALSE(main.close());
    EXPECT_EQ(fake.questions.size(), 1u);

    fake.questionAnswers.push_back(QMessageBox::Yes);
    answerFile("kept.html");
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
// overwrite the stored page and end the program. An opened entry moves to
// the top of the list.
TEST_F(DesktopProgram, RecentFilesAndDroppedPagesOpenForViewing) {
    writeFile(dir / "old.html", "<p>old page</p>");
    writeFile(dir / "new.html", "<p>new page</p>");
    CMainFrame& main = start("");
    for (const char* page : {"old.html", "new.html", "vanished.html"})
        app->context().settings.recentFiles.add(path(page));
    EXPECT_EQ(menus(main.menuBar())[0], "&File|&New\tCtrl+N|&Open Season...|-|&1 " +
                                            path("vanished.html") + "|&2 " + path("new.html") +
                                            "|&3 " + path("old.html") + "|-|E&xit");
    QMenu* file = main.menuBar()->actions()[0]->menu();
    EXPECT_EQ(file->actions()[4]->statusTip(), "Open this document");

    file->actions()[3]->trigger();
    EXPECT_EQ(lastMessage().find("The generated page " + path("vanished.html")), 0u);
    EXPECT_EQ(app->context().settings.recentFiles.entries(),
              (Strings{path("new.html"), path("old.html")}));

    menus(main.menuBar());
    file = main.menuBar()->actions()[0]->menu();
    file->actions()[4]->trigger();
    ASSERT_NE(main.activeDocument(), nullptr);
    EXPECT_EQ(app->context().settings.recentFiles.entries(),
              (Strings{path("old.html"), path("new.html")}));
    EXPECT_EQ(document().title(), "old.html");
    EXPECT_FALSE(document().isModified());
    EXPECT_EQ(document().pagePath(), dir / "old.html");
    EXPECT_FALSE(main.action(Command::SelectTheme)->isEnabled()) << "no log to apply a theme to";
    EXPECT_EQ(settings().outFile, "");
    EXPECT_TRUE(main.isVisible());
    answerFile("two.log");
    trigger(Command::SelectLogfile);
    EXPECT_TRUE(main.action(Command::SelectTheme)->isEnabled()) << "it has a log now";

    wizard("");
    main.openDroppedFiles({QUrl::fromLocalFile(QString::fromStdString(path("two.log")))});
    ASSERT_EQ(fake.wizardSaw.size(), 2u);
    EXPECT_EQ(fake.wizardSaw[1].logFile, path("two.log")) << "a dropped log goes to the wizard";
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

// With ZEFA_SCREENSHOT_DIR set, the window is saved there.
TEST_F(DesktopProgramOnScreen, TheMainWindowShowsTheRenderedPage) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) GTEST_SKIP() << "needs X";
    CMainFrame& main = start(std::string(ZEFA_EXAMPLES_DIR) + "/beta2-ctf.log",
                             std::string(ZEFA_THEMES_DIR) + "/default.thm");
    main.resize(1100, 760);
    ASSERT_NE(main.activeView(), nullptr);
    ASSERT_TRUE(waitForPage(main.activeView()));
    QTest::qWait(1500);  // the browser paints after it has loaded

    const QImage window = main.screen()->grabWindow(main.winId()).toImage();
    if (const char* folder = std::getenv("ZEFA_SCREENSHOT_DIR"))
        window.save(QString::fromLocal8Bit(folder) + "/main-window.png");
    const qreal ratio = window.devicePixelRatio();
    const QRect page(main.activeView()->mapTo(&main, QPoint(0, 0)) * ratio,
                     main.activeView()->size() * ratio);
    // A blank view is one colour; the example page has dozens.
    QSet<QRgb> colours;
    for (int y = page.top(); y < page.bottom(); y += 5)
        for (int x = page.left(); x < page.right(); x += 5) colours.insert(window.pixel(x, y));
    EXPECT_GT(colours.size(), 40);
}

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
    const fs::path folder = window->site().folder();
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
    writeFile(dir / "notes.db", notes);
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
    EXPECT_EQ(readFile(dir / "notes.db"), notes);
}

}  // namespace
}  // namespace zefa::test
