#include <QGuiApplication>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QSet>

#include "desktop/shell/CMainFrame.h"
#include "desktop/shell/CZefastats2View.h"
#include "desktop/shell/DesktopProgram.h"
#include "desktop/shell/VersionPane.h"

namespace zefa::desktop {
namespace {

namespace fs = std::filesystem;

TEST_F(DesktopProgram, EachNewDocumentOpensMaximisedWithTheNextTitleAndItsPage) {
    CMainFrame& main = start();
    ASSERT_NE(main.activeDocument(), nullptr);
    EXPECT_EQ(document().title(), "zefs1");
    EXPECT_TRUE(document().isModified());
    EXPECT_EQ(main.windowTitle(), "Zefa Stats 2 - [zefs1 *]") << "unsaved changes are marked";
    EXPECT_TRUE(main.mdiArea()->currentSubWindow()->isMaximized());
    EXPECT_EQ(test::readFile(document().pagePath()), "2AnnTom");
    EXPECT_TRUE(document().pagePath().filename().string().ends_with(".html"));
    EXPECT_TRUE(waitForPage(main.activeView()));
    EXPECT_EQ(main.activeView()->url(), document().pageUrl());
    EXPECT_EQ(
        menus(main.menuBar()),
        (Strings{"&File|&New\tCtrl+N|&Open Season...|&Close|&Save\tCtrl+S|Save &As...|A&dd to "
                 "Season...|Save Sit&e As...|-|Recent File|-|E&xit",
                 "&View|&Toolbar|&Status Bar",
                 "&Modify|Select &Theme\tCtrl+T|Select &Logfile\tCtrl+L",
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

// Saved pages open for viewing; they are never the batch run, which would
// overwrite the stored page and end the program. An opened entry moves to
// the top of the list.
TEST_F(DesktopProgram, RecentFilesAndDroppedPagesOpenForViewing) {
    test::writeFile(dir / "old.html", "<p>old page</p>");
    test::writeFile(dir / "new.html", "<p>new page</p>");
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

}  // namespace
}  // namespace zefa::desktop
