#include <gtest/gtest.h>

#include <QFontMetrics>
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
#include "desktop/shell/DialogUnits.h"

namespace zefa::desktop {

// Drives a credits scroller tick by tick without its timer and reads its state.
class CreditsScrollerProbe {
public:
    explicit CreditsScrollerProbe(CCreditsScroller& scroller) : s_(scroller) {}

    void tick(int times = 1) {
        for (int i = 0; i < times; ++i) s_.tick();
    }
    // Ticks until the next line is current; how many ticks that took.
    int tickToNextLine() {
        int ticks = 1;
        for (s_.tick(); s_.tickCounter != 1; s_.tick()) ++ticks;
        return ticks;
    }
    int normalWidth(const QString& text) const {
        return QFontMetrics(s_.m_fonts[CCreditsScroller::kNormal]).horizontalAdvance(text);
    }
    [[nodiscard]] const QImage& image() const { return s_.m_workImage; }
    [[nodiscard]] const QStringList& lines() const { return s_.lines; }
    [[nodiscard]] const QString& currentLine() const { return s_.currentLine; }
    [[nodiscard]] int widestLine() const { return s_.widestLine; }
    [[nodiscard]] bool firstPass() const { return s_.firstPass; }
    [[nodiscard]] unsigned timerId() const { return s_.timerId; }
    [[nodiscard]] int interval() const { return s_.m_timer.interval(); }

private:
    CCreditsScroller& s_;
};

namespace {

// What is drawn on the black panel: its bounding box in the panel's pixels,
// and the brightest pixel, whose channels keep the ratios of the text's colour.
struct Ink {
    QRectF box;
    QRgb brightest = 0;
};
Ink inkOf(const QImage& image) {
    QRect box;
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y) | ~RGB_MASK;
            if (pixel != qRgb(0, 0, 0)) box |= QRect(x, y, 1, 1);
            if (qGray(pixel) > qGray(ink.brightest)) ink.brightest = pixel;
        }
    }
    const qreal ratio = image.devicePixelRatio();
    ink.box = QRectF(box.x() / ratio, box.y() / ratio, box.width() / ratio, box.height() / ratio);
    return ink;
}

struct Scroller {
    explicit Scroller(const QString& credits, int width = 200, int height = 100) {
        widget.resize(width, height);
        widget.SetCredits(credits, u'|');
    }
    CCreditsScroller widget;
    CreditsScrollerProbe probe{widget};
};

// n separators give n + 1 lines, an empty text none; without lines nothing
// starts, and without a timer the credits are painted once from the top.
TEST(CreditsScrollerTest, SplitsTheTextAndStartsOnlyWithLines) {
    Scroller scroller(QStringLiteral("A|B"));
    EXPECT_EQ(scroller.probe.lines(), QStringList({"A", "B"}));
    scroller.widget.SetCredits(QStringLiteral("A|B|"), u'|');
    EXPECT_EQ(scroller.probe.lines(), QStringList({"A", "B", ""}));
    scroller.widget.SetCredits(QString(), u'|');
    EXPECT_TRUE(scroller.probe.lines().isEmpty());
    EXPECT_FALSE(scroller.widget.StartScrolling());
    EXPECT_EQ(scroller.probe.timerId(), 0u);
    EXPECT_TRUE(inkOf(scroller.widget.grab().toImage()).box.isNull());

    scroller.widget.SetCredits(QStringLiteral("Title\t|Name"), u'|');
    const QRectF drawn = inkOf(scroller.widget.grab().toImage()).box;
    EXPECT_LT(drawn.top(), 21);
    EXPECT_LE(drawn.bottom(), 21 + 15);

    scroller.widget.SetSpeed(2, 25);
    scroller.widget.SetSpeed(7, 5);  // no such speed
    scroller.widget.show();
    EXPECT_TRUE(scroller.widget.StartScrolling());
    EXPECT_EQ(scroller.probe.timerId(), 150u);
    EXPECT_EQ(scroller.probe.interval(), 25);
    scroller.widget.hide();
    EXPECT_EQ(scroller.probe.timerId(), 0u);
}

// The first line comes on tick 15. A title lasts 21 ticks, even one of only a
// tab, which draws nothing; a heading 19, list and normal lines 15, an empty
// line as long as the line before it. After the last line comes the first.
TEST(CreditsScrollerTest, LinesLastTheirStylesHeightThenStartAgain) {
    Scroller scroller(QStringLiteral("\t|T\t||H\n|L\r|N|X"));
    std::vector<int> durations{scroller.probe.tickToNextLine(), scroller.probe.tickToNextLine()};
    EXPECT_TRUE(inkOf(scroller.probe.image()).box.isNull());
    EXPECT_EQ(scroller.probe.currentLine(), QStringLiteral("T\t"));
    for (int i = 0; i < 6; ++i) durations.push_back(scroller.probe.tickToNextLine());
    EXPECT_EQ(durations, std::vector<int>({15, 21, 21, 21, 19, 15, 15, 15}));
    EXPECT_EQ(scroller.probe.currentLine(), QStringLiteral("\t"));
    EXPECT_FALSE(scroller.probe.firstPass());
}

// Row by row over 15 ticks, a line comes out as it is drawn at once: every row
// in its place and its smoothed edges no heavier.
TEST(CreditsScrollerTest, RisenLineLooksAsIfDrawnAtOnce) {
    const QString text = QStringLiteral("Quillfire & Nightjar");
    Scroller measure(text);
    Scroller scroller(text, measure.probe.normalWidth(text), 60);
    const QImage once = scroller.widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    scroller.probe.tick(15 + 15);  // risen whole, and its second round begun
    const QImage& risen = scroller.probe.image();
    ASSERT_EQ(risen.size(), once.size());
    const qreal ratio = risen.devicePixelRatio();
    const int rows = qRound(15 * ratio), top = risen.height() - qRound(ratio) - rows;
    EXPECT_EQ(risen.copy(0, top, risen.width(), rows), once.copy(0, 0, once.width(), rows));
}

// Each style draws in its colour; the marker is neither drawn nor measured.
TEST(CreditsScrollerTest, StylesDrawInTheirColours) {
    const std::vector<std::pair<QString, QRgb>> cases = {
        {QStringLiteral("Title\t"), qRgb(0, 0, 255)},
        {QStringLiteral("Heading\n"), qRgb(255, 255, 0)},
        {QStringLiteral("List\r"), qRgb(0, 255, 255)},
        {QStringLiteral("Normal"), qRgb(255, 255, 255)},
        {QStringLiteral("Normal^"), qRgb(255, 255, 255)}};
    for (const auto& [line, colour] : cases) {
        Scroller scroller(line);
        scroller.probe.tick(15 + 15);
        const QRgb pixel = inkOf(scroller.probe.image()).brightest;
        const int scale = std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)});
        EXPECT_EQ(qRgb(qRed(colour) * scale / 255, qGreen(colour) * scale / 255,
                       qBlue(colour) * scale / 255),
                  pixel)
            << line.toStdString();
        if (colour == qRgb(255, 255, 255)) {
            EXPECT_EQ(scroller.probe.widestLine(), scroller.probe.normalWidth("Normal"));
        }
    }
}

// The column grows with wider lines, up to the panel's width, during the first
// pass only; a wider line after it is cut at both sides of the column.
TEST(CreditsScrollerTest, ColumnWidensOnTheFirstPassWithinThePanel) {
    Scroller scroller(QStringLiteral("i|iiii|") + QString(40, u'W') + QStringLiteral("|x"), 120);
    std::vector<int> widths;
    for (int i = 0; i < 4; ++i) {
        scroller.probe.tickToNextLine();
        widths.push_back(scroller.probe.widestLine());
    }
    EXPECT_EQ(widths, std::vector<int>({scroller.probe.normalWidth("i"),
                                        scroller.probe.normalWidth("iiii"), 120, 120}));
    EXPECT_LE(inkOf(scroller.probe.image()).box.right(), 120);

    Scroller narrow(QStringLiteral("ii"), 300);
    narrow.probe.tickToNextLine();
    const int widest = narrow.probe.widestLine(), left = (300 - widest) / 2;
    narrow.widget.SetCredits(QStringLiteral("WWWWWWWWWW"), u'|');
    narrow.probe.tick(30);
    EXPECT_EQ(narrow.probe.widestLine(), widest);
    const QRectF drawn = inkOf(narrow.probe.image()).box;
    EXPECT_GE(drawn.left(), left);
    EXPECT_LE(drawn.right(), left + widest + 0.5);  // the column's edges rounded to the device
}

// "&" is text, not a mnemonic marking the next letter: it is measured and drawn.
TEST(CreditsScrollerTest, AmpersandIsShownAsItIs) {
    Scroller plain(QStringLiteral("x")), ampersand(QStringLiteral("&x"));
    plain.probe.tick(30);
    ampersand.probe.tick(30);
    EXPECT_EQ(ampersand.probe.widestLine(), ampersand.probe.normalWidth("&x"));
    EXPECT_GT(inkOf(ampersand.probe.image()).box.width(),
              inkOf(plain.probe.image()).box.width() + ampersand.probe.normalWidth("&") / 2);
}

// Every drawing stays inside the picture, however small the panel: of no size,
// one row high (fewer rows than a tick moves at some ratios), or narrower than
// the text. The sanitizers see any stray write.
TEST(CreditsScrollerTest, DrawsInsideThePictureOfAnyPanel) {
    for (const QSize size : {QSize(0, 0), QSize(3, 1), QSize(1, 40)}) {
        Scroller scroller(QStringLiteral("Zefa Stats\t|WWWWWWWW\r|x"), size.width(), size.height());
        scroller.probe.tick(200);
        EXPECT_EQ(scroller.probe.image().isNull(), size.isEmpty());
        EXPECT_LE(scroller.probe.widestLine(), size.width());
    }
}

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
