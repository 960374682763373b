#include <QStatusBar>
#include <QToolBar>

#include "desktop/settings/SessionSettings.h"
#include "desktop/shell/CZefastats2App.h"
#include "desktop/shell/DesktopProgram.h"

namespace zefa::desktop {
namespace {

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

TEST_F(DesktopProgram, ExitAsksForEachModifiedDocumentAndCanBeCancelled) {
    CMainFrame& main = start();
    fake.questionAnswers.push_back(QMessageBox::Cancel);
    EXPECT_FALSE(main.close());
    EXPECT_EQ(fake.questions.size(), 1u);

    fake.questionAnswers.push_back(QMessageBox::Yes);
    answerFile("kept.html");
    EXPECT_TRUE(main.close());
    EXPECT_EQ(test::readFile(path("kept.html")), "2AnnTom");
    app->ExitInstance();
    app.reset();
    EXPECT_TRUE(pageFiles().empty()) << "no page file outlives the program";

    const SessionSettings stored;
    EXPECT_EQ(stored.generation.outFile, path("kept.html"));
    EXPECT_EQ(stored.generation.logFile, path("one.log"));
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
}  // namespace zefa::desktop
