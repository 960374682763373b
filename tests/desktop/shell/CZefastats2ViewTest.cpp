#include "desktop/shell/CMainFrame.h"
#include "desktop/shell/CZefastats2View.h"
#include "desktop/shell/DesktopProgram.h"

namespace zefa::desktop {
namespace {

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
    EXPECT_EQ(test::readFile(document().pagePath()), "<html><body><h1>Plain</h1></body></html>");
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

}  // namespace
}  // namespace zefa::desktop
