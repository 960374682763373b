// The About box in a real window: run with QT_QPA_PLATFORM=xcb under an X
// server; with ZEFA_ABOUT_SCREENSHOT set, the box mid-roll is saved there.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QtMath>
#include <cstdlib>

#include "app/CAboutDialog.h"
#include "app/shell/CreditsScrollerProbe.h"

namespace zefa {
namespace {

// What the screen shows of the panel is its work image, pixel for pixel, at
// the screen's device pixel ratio: scaled neither up nor down.
TEST(AboutBoxOnScreenTest, PanelShowsTheWorkImageMidRoll) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        GTEST_SKIP() << "needs an X server";
    }
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
}  // namespace zefa
