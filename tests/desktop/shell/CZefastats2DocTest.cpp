#include "desktop/shell/CZefastats2Doc.h"
#include "desktop/shell/DesktopProgram.h"

namespace zefa::desktop {
namespace {

TEST_F(DesktopProgram, SaveAsksForANameOnceThenCopiesThePageByteForByte) {
    CMainFrame& main = start();
    const std::string saved = path("stats.html");
    answerFile(saved);
    QTest::keyClick(&main, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(fake.fileRequests.size(), 1u);
    EXPECT_EQ(asked(fake.fileRequests[0]),
              "Save As|Stats Files (*.html);;All Files (*)|html|zefs1.html");
    EXPECT_EQ(test::readFile(saved), test::readFile(document().pagePath()));
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
    EXPECT_EQ(test::readFile(saved), "1BobEve");
    EXPECT_FALSE(document().isModified());

    answerFile("no-folder/x.html");
    trigger(Command::SaveAs);
    EXPECT_EQ(lastMessage(), "The stats page " + path("no-folder/x.html") +
                                 " could not be written: No such file or directory.");
    EXPECT_EQ(document().title(), "stats.html");
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

}  // namespace
}  // namespace zefa::desktop
