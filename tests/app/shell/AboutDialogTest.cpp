#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

#include "app/CAboutDialog.h"
#include "app/DialogUnits.h"
#include "app/shell/CreditsScrollerProbe.h"

namespace zefa {
namespace {

// The layout in dialog units of the dialog's font, the icon and the default OK.
TEST(AboutDialogTest, LaysOutIconCreditsAndOkInDialogUnits) {
    CAboutDialog dialog;
    const DialogUnits units(dialog.font());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About Zefa Stats 2"));
    EXPECT_EQ(dialog.size(), units.size(405, 210));
    auto* scroller = dialog.findChild<CCreditsScroller*>();
    ASSERT_NE(scroller, nullptr);
    EXPECT_EQ(scroller->geometry(), units.rect(14, 13, 326, 183));
    auto* ok = dialog.findChild<QPushButton*>();
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(ok->geometry(), units.rect(348, 7, 50, 14));
    auto* icon = dialog.findChild<QLabel*>();
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->geometry(), units.rect(362, 175, 20, 20));
    EXPECT_FALSE(icon->pixmap().isNull());
}

// 46 lines: the title with the version, the games, eleven thanks as list lines,
// the address, and eighteen empty lines that let the last ones leave the panel.
TEST(AboutDialogTest, CreditsHaveTheirFortySixLines) {
    CAboutDialog dialog;
    const QStringList lines = CreditsScrollerProbe(*dialog.findChild<CCreditsScroller*>()).lines();
    ASSERT_EQ(lines.size(), 46);
    EXPECT_EQ(lines[0], QStringLiteral("Zefa Stats 2.1.5\t"));
    EXPECT_EQ(lines.mid(8, 3), QStringList({"Supported Games:", "Zefa Beta1H", "Zefa 2"}));
    EXPECT_EQ(lines.filter(QRegularExpression("^[^\r]+\r$")).size(), 11);
    EXPECT_EQ(lines[27], QStringLiteral("https://zefastats.example"));
    EXPECT_EQ(lines.mid(28).join(QString()), QString());
}

// Each opening rolls at 70 ms from the first line, shown on the 15th tick;
// closing stops the timer.
TEST(AboutDialogTest, RollsWhileOpen) {
    CAboutDialog dialog;
    CreditsScrollerProbe probe(*dialog.findChild<CCreditsScroller*>());
    EXPECT_EQ(probe.timerId(), 0u);
    for (int opening = 0; opening < 2; ++opening) {
        dialog.show();
        EXPECT_EQ(probe.timerId(), 150u);
        EXPECT_EQ(probe.interval(), 70);
        probe.tick(14);
        EXPECT_EQ(probe.currentLine(), QString());
        probe.tick(6);
        EXPECT_EQ(probe.currentLine(), QStringLiteral("Zefa Stats 2.1.5\t"));
        dialog.accept();
        EXPECT_EQ(probe.timerId(), 0u);
    }
}

}  // namespace
}  // namespace zefa
