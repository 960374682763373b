#include <gtest/gtest.h>

#include <QImage>

#include "app/CCreditsScroller.h"
#include "app/shell/CreditsScrollerProbe.h"

namespace zefa {
namespace {

// The bounding box, in the panel's pixels, of every pixel that is not background.
QRectF ink(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) & RGB_MASK) box |= QRect(x, y, 1, 1);
        }
    }
    const qreal ratio = image.devicePixelRatio();
    return {box.x() / ratio, box.y() / ratio, box.width() / ratio, box.height() / ratio};
}

// The brightest pixel, whose channels keep the ratios of the text's colour.
QRgb brightest(const QImage& image) {
    QRgb best = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qGray(pixel) > qGray(best)) best = pixel;
        }
    }
    return best;
}

struct Scroller {
    explicit Scroller(const QString& credits, int width = 200, int height = 100) {
        widget.resize(width, height);
        widget.SetCredits(credits, u'|');
    }
    CCreditsScroller widget;
    CreditsScrollerProbe probe{widget};
};

TEST(CreditsScrollerTest, SplitsTheTextAtEverySeparator) {
    Scroller scroller(QStringLiteral("A|B"));
    EXPECT_EQ(scroller.probe.lines(), QStringList({"A", "B"}));
    scroller.widget.SetCredits(QStringLiteral("A|B|"), u'|');
    EXPECT_EQ(scroller.probe.lines(), QStringList({"A", "B", ""}));
    scroller.widget.SetCredits(QString(), u'|');
    EXPECT_TRUE(scroller.probe.lines().isEmpty());
}

// Without lines nothing starts, and painting shows the bare panel; with lines
// and no timer the credits are painted once from the top.
TEST(CreditsScrollerTest, StartsOnlyWithLinesAndPaintsStaticallyWithoutATimer) {
    Scroller scroller{QString()};
    EXPECT_FALSE(scroller.widget.StartScrolling());
    EXPECT_EQ(scroller.probe.timerId(), 0u);
    EXPECT_TRUE(ink(scroller.widget.grab().toImage()).isNull());

    scroller.widget.SetCredits(QStringLiteral("Title\t|Name"), u'|');
    const QRectF drawn = ink(scroller.widget.grab().toImage());
    EXPECT_LT(drawn.top(), 21);
    EXPECT_LE(drawn.bottom(), 21 + 15);
    EXPECT_FALSE(ink(scroller.probe.image()).isNull());
}

// The roll runs while the panel shows and stops when it is hidden.
TEST(CreditsScrollerTest, TimerRunsAtTheChosenSpeedUntilHidden) {
    Scroller scroller(QStringLiteral("A"));
    scroller.widget.SetSpeed(2, 25);
    scroller.widget.SetSpeed(7, 5);
    scroller.widget.show();
    EXPECT_TRUE(scroller.widget.StartScrolling());
    EXPECT_EQ(scroller.probe.timerId(), 150u);
    EXPECT_EQ(scroller.probe.interval(), 25);
    scroller.widget.hide();
    EXPECT_EQ(scroller.probe.timerId(), 0u);
}

// Ticks 1 to 14 show background; on tick 15 the first line comes and is measured.
TEST(CreditsScrollerTest, FirstLineComesOnTheFifteenthTick) {
    Scroller scroller(QStringLiteral("Wide"));
    scroller.probe.tick(14);
    EXPECT_TRUE(ink(scroller.probe.image()).isNull());
    EXPECT_EQ(scroller.probe.widestLine(), 0);
    scroller.probe.tick();
    EXPECT_EQ(scroller.probe.currentLine(), QStringLiteral("Wide"));
    EXPECT_EQ(scroller.probe.widestLine(), scroller.probe.normalWidth(QStringLiteral("Wide")));
}

// Row by row over 15 ticks, a line comes out as it is drawn at once: every row
// in its place and its smoothed edges no heavier.
TEST(CreditsScrollerTest, RisenLineLooksAsIfDrawnAtOnce) {
    const QString text = QStringLiteral("Quillfire & Nightjar");
    Scroller measure(text);
    Scroller scroller(text, measure.probe.normalWidth(text), 60);
    const QImage once = scroller.widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    // After 30 ticks the line has risen whole and its second round has begun.
    scroller.probe.tick(15 + 15);
    const QImage& risen = scroller.probe.image();
    ASSERT_EQ(risen.size(), once.size());
    const qreal ratio = risen.devicePixelRatio();
    const int rows = qRound(15 * ratio), top = risen.height() - qRound(ratio) - rows;
    EXPECT_EQ(risen.copy(0, top, risen.width(), rows), once.copy(0, 0, once.width(), rows));
}

// A title lasts 21 ticks, a heading 19, list and normal lines 15, and an empty
// line as long as the line before it.
TEST(CreditsScrollerTest, LinesLastTheirStylesHeight) {
    Scroller scroller(QStringLiteral("T\t||H\n|L\r|N|X"));
    EXPECT_EQ(scroller.probe.tickToNextLine(), 15);
    std::vector<int> durations;
    for (int i = 0; i < 5; ++i) durations.push_back(scroller.probe.tickToNextLine());
    EXPECT_EQ(durations, std::vector<int>({21, 21, 19, 15, 15}));
    EXPECT_EQ(scroller.probe.currentLine(), QStringLiteral("X"));
}

// Each style draws in its colour; the marker is not drawn.
TEST(CreditsScrollerTest, StylesDrawInTheirColours) {
    const std::vector<std::pair<QString, QRgb>> cases = {
        {QStringLiteral("Title\t"), qRgb(0, 0, 255)},
        {QStringLiteral("Heading\n"), qRgb(255, 255, 0)},
        {QStringLiteral("List\r"), qRgb(0, 255, 255)},
        {QStringLiteral("Normal"), qRgb(255, 255, 255)},
        {QStringLiteral("Reserved^"), qRgb(255, 255, 255)}};
    for (const auto& [line, colour] : cases) {
        Scroller scroller(line);
        scroller.probe.tickToNextLine();
        scroller.probe.tickToNextLine();
        const QRgb pixel = brightest(scroller.probe.image());
        const int scale = std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)});
        ASSERT_GT(scale, 0) << line.toStdString();
        EXPECT_EQ(qRgb(qRed(colour) * scale / 255, qGreen(colour) * scale / 255,
                       qBlue(colour) * scale / 255),
                  pixel | ~RGB_MASK)
            << line.toStdString();
    }
    Scroller reserved(QStringLiteral("Reserved^"));
    reserved.probe.tickToNextLine();
    EXPECT_EQ(reserved.probe.widestLine(), reserved.probe.normalWidth(QStringLiteral("Reserved")));
}

// The column grows with wider lines, up to the panel's width, during the first
// pass only; a wider line after it is cut at both sides of the column.
TEST(CreditsScrollerTest, ColumnWidensOnTheFirstPassWithinThePanel) {
    Scroller scroller(QStringLiteral("i|iiii|") + QString(40, u'W') + QStringLiteral("|x"), 120);
    std::vector<int> widths;
    scroller.probe.tickToNextLine();
    for (int i = 0; i < 4; ++i) {
        widths.push_back(scroller.probe.widestLine());
        scroller.probe.tickToNextLine();
    }
    EXPECT_EQ(widths, std::vector<int>({scroller.probe.normalWidth("i"),
                                        scroller.probe.normalWidth("iiii"), 120, 120}));
    EXPECT_LE(ink(scroller.probe.image()).right(), 120);

    Scroller narrow(QStringLiteral("ii"), 300);
    narrow.probe.tickToNextLine();
    EXPECT_FALSE(narrow.probe.firstPass());
    const int widest = narrow.probe.widestLine();
    narrow.widget.SetCredits(QStringLiteral("WWWWWWWWWW"), u'|');
    narrow.probe.tick(30);
    EXPECT_EQ(narrow.probe.widestLine(), widest);
    const int left = (300 - widest) / 2;
    const QRectF drawn = ink(narrow.probe.image());
    EXPECT_GE(drawn.left(), left);
    EXPECT_LE(drawn.right(), left + widest + 0.5);  // the column's edges rounded to the device
}

// After the last line the roll goes on with the first, measuring no more.
TEST(CreditsScrollerTest, WrapsAroundAfterTheLastLine) {
    Scroller scroller(QStringLiteral("A|B"));
    scroller.probe.tick(15 + 15);
    EXPECT_EQ(scroller.probe.currentLine(), QStringLiteral("B"));
    EXPECT_FALSE(scroller.probe.firstPass());
    scroller.probe.tick(15);
    EXPECT_EQ(scroller.probe.currentLine(), QStringLiteral("A"));
    scroller.probe.tick(10);
    EXPECT_GT(ink(scroller.probe.image()).height(), 15);
}

// "&" is text, not a mnemonic marking the next letter: it is measured and drawn.
TEST(CreditsScrollerTest, AmpersandIsShownAsItIs) {
    Scroller plain(QStringLiteral("x")), ampersand(QStringLiteral("&x"));
    plain.probe.tick(30);
    ampersand.probe.tick(30);
    EXPECT_EQ(ampersand.probe.widestLine(), ampersand.probe.normalWidth(QStringLiteral("&x")));
    const QRectF x = ink(plain.probe.image()), both = ink(ampersand.probe.image());
    EXPECT_GT(both.width(), x.width() + ampersand.probe.normalWidth(QStringLiteral("&")) / 2);
}

// Every drawing stays inside the picture, however small the panel: of no size,
// one row high (shorter than a tick's rows at a high ratio), or narrower than
// the text. The sanitizers see any stray write.
TEST(CreditsScrollerTest, DrawsInsideThePictureOfAnyPanel) {
    for (const QSize size : {QSize(0, 0), QSize(3, 1), QSize(1, 40)}) {
        Scroller scroller(QStringLiteral("Zefa Stats\t|WWWWWWWW\r|x"), size.width(), size.height());
        scroller.probe.tick(200);
        EXPECT_EQ(scroller.probe.image().isNull(), size.isEmpty());
        EXPECT_LE(scroller.probe.widestLine(), size.width());
    }
}

// A line of only a tab is an empty title: 21 ticks of nothing; no column yet.
TEST(CreditsScrollerTest, LineOfOnlyATabIsAnEmptyTitle) {
    Scroller scroller(QStringLiteral("\t|W"));
    scroller.probe.tickToNextLine();
    EXPECT_EQ(scroller.probe.tickToNextLine(), 21);
    EXPECT_EQ(scroller.probe.currentLine(), QStringLiteral("W"));
    EXPECT_TRUE(ink(scroller.probe.image()).isNull());
}

}  // namespace
}  // namespace zefa
