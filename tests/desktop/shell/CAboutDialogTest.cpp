#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QtMath>
#include <cstdlib>

#include "desktop/shell/CAboutDialog.h"
#include "desktop/shell/CCreditsScroller.h"
#include "desktop/shell/CreditsScrollerProbe.h"
#include "desktop/shell/DialogUnits.h"

namespace zefa::desktop {
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
// Each opening rolls them at 70 ms from the first line, shown on the 15th tick;
// closing stops the timer.
TEST(AboutDialogTest, CreditsOfFortySixLinesRollWhileOpen) {
    CAboutDialog dialog;
    CreditsScrollerProbe probe(*dialog.findChild<CCreditsScroller*>());
    const QStringList& lines = probe.lines();
    ASSERT_EQ(lines.size(), 46);
    EXPECT_EQ(lines[0], QStringLiteral("Zefa Stats 2.1.5\t"));
    EXPECT_EQ(lines.mid(8, 3), QStringList({"Supported Games:", "Zefa Beta1H", "Zefa 2"}));
    EXPECT_EQ(lines.filter(QRegularExpression("^[^\r]+\r$")).size(), 11);
    EXPECT_EQ(lines[27], QStringLiteral("https://zefastats.example"));
    EXPECT_EQ(lines.mid(28).join(QString()), QString());
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

// In a real window, what the screen shows of the panel is its work image, pixel
// for pixel, at the screen's device pixel ratio: scaled neither up nor down.
// With ZEFA_ABOUT_SCREENSHOT set, the box mid-roll is saved there.
TEST(AboutBoxOnScreenTest, PanelShowsTheWorkImageMidRoll) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) GTEST_SKIP() << "needs X";
    CAboutDialog dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto& scroller = *dialog.findChild<CCreditsScroller*>();
    CreditsScrollerProbe probe(scroller);
    probe.tick(300);
    scroller.repaint();

    const qreal ratio = dialog.devicePixelRatioF();
    const QImage screen = dialog.screen()->grabWindow(0).toImage();
    const QImage& picture = probe.image();
    EXPECT_EQ(picture.devicePixelRatio(), ratio);
    EXPECT_EQ(picture.size(), scroller.size() * ratio);
    // The panel's position in device pixels is rounded once for the window and
    // once for the panel in it, and where its edges fall inside device pixels,
    // its last part-pixel row and column are the window's.
    const QSize shown(qFloor(scroller.width() * ratio), qFloor(scroller.height() * ratio));
    const QImage expected = picture.copy(QRect(QPoint(0, 0), shown));
    const QPoint origin = scroller.mapToGlobal(QPoint(0, 0)) * ratio;
    int matches = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QRect area(origin + QPoint(dx, dy), shown);
            matches += screen.copy(area).convertToFormat(QImage::Format_RGB32) == expected;
        }
    }
    EXPECT_EQ(matches, 1);

    if (const char* path = std::getenv("ZEFA_ABOUT_SCREENSHOT")) {
        const QRect frame(dialog.mapToGlobal(QPoint(0, 0)) * ratio, dialog.size() * ratio);
        EXPECT_TRUE(screen.copy(frame).save(QString::fromLocal8Bit(path)));
    }
}

}  // namespace
}  // namespace zefa::desktop
