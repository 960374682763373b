// Tests that need a real window system; the test program runs them under Xvfb
// with QT_QPA_PLATFORM=xcb and skips them elsewhere.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include "app/CMainFrame.h"
#include "app/CZefastats2App.h"
#include "app/CZefastats2Doc.h"
#include "app/CZefastats2View.h"
#include "app/shell/FakeDialogs.h"

namespace zefa::test {
namespace {

bool onScreen() { return QGuiApplication::platformName() == QStringLiteral("xcb"); }

// Where screenshots go, when asked for (ZEFA_SCREENSHOT_DIR).
void keepScreenshot(const QImage& image, const char* name) {
    if (const char* folder = std::getenv("ZEFA_SCREENSHOT_DIR"))
        image.save(QString::fromLocal8Bit(folder) + '/' + name);
}

// The colours of a grid of points of the image's area.
qsizetype coloursIn(const QImage& image, const QRect& area) {
    QSet<QRgb> colours;
    for (int y = area.top(); y < area.bottom(); y += 5)
        for (int x = area.left(); x < area.right(); x += 5) colours.insert(image.pixel(x, y));
    return colours.size();
}

TEST(OnScreen, TheMainWindowShowsTheRenderedPage) {
    if (!onScreen()) GTEST_SKIP() << "needs a display";
    FakeDialogs fake;
    fake.acceptWizard(std::string(ZEFA_EXAMPLES_DIR) + "/beta2-ctf.log",
                      std::string(ZEFA_THEMES_DIR) + "/default.thm");
    CZefastats2App app(StartupArguments{}, std::nullopt, fake.dialogs());
    ASSERT_TRUE(app.InitInstance());
    CMainFrame& main = *app.mainFrame();
    main.resize(1100, 760);
    CZefastats2View* view = main.activeView();
    ASSERT_NE(view, nullptr);
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    ASSERT_TRUE(loaded.wait(30000));
    ASSERT_TRUE(loaded.takeFirst().at(0).toBool());
    QTest::qWait(1500);  // the browser paints after it has loaded

    const QImage window = main.screen()->grabWindow(main.winId()).toImage();
    keepScreenshot(window, "main-window.png");
    const QRect page(view->mapTo(&main, QPoint(0, 0)) * window.devicePixelRatio(),
                     view->size() * window.devicePixelRatio());
    // A blank view is one colour; the example page has dozens.
    EXPECT_GT(coloursIn(window, page), 40);
}

}  // namespace
}  // namespace zefa::test
