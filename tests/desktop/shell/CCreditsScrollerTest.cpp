#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>

#include "desktop/shell/CCreditsScroller.h"
#include "desktop/shell/CreditsScrollerProbe.h"

namespace zefa::desktop {
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

}  // namespace
}  // namespace zefa::desktop
