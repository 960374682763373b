#include "desktop/shell/CCreditsScroller.h"

#include <QFontMetrics>
#include <QHideEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace zefa::desktop {

namespace {

// How each style looks besides its height: weight and index into the colours.
struct StyleLook {
    QFont::Weight weight;
    int color;
};
constexpr std::array<StyleLook, 4> kLooks{{
    {QFont::Bold, 1},  // title: blue
    {QFont::Bold, 2},  // heading: yellow
    {QFont::Bold, 3},  // list: cyan
    {QFont::Thin, 4},  // normal: white
}};

// "Arial", or the system's sans-serif without it, at the largest em size whose
// cell (ascent plus descent) is no taller than `cellHeight` pixels.
QFont cellFont(int cellHeight, QFont::Weight weight) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif, QFont::PreferQuality);
    font.setWeight(weight);
    for (int em = cellHeight; em > 1; --em) {
        font.setPixelSize(em);
        if (QFontMetrics(font).height() <= cellHeight) break;
    }
    return font;
}

// The bottom `rows` rows of `area`.
QRect bottomRows(const QRect& area, int rows) {
    return {area.left(), area.bottom() + 1 - rows, area.width(), rows};
}

}  // namespace

CCreditsScroller::CCreditsScroller(QWidget* parent) : QWidget(parent) {
    // Every paint covers the whole panel: nothing is erased first, so it never
    // flickers to the dialog's colour.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    for (int style = 0; style < kStyleCount; ++style) {
        m_fonts[style] = cellFont(textHeights[style], kLooks[style].weight);
    }
    // Ticks at an even pace, so that the text rises steadily.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CCreditsScroller::tick);
}

void CCreditsScroller::SetCredits(const QString& text, QChar separator) {
    lines = text.isEmpty() ? QStringList() : text.split(separator);
    nextLine = 0;
    tickCounter = 1;
    scrolledInLine = 0;
}

void CCreditsScroller::SetSpeed(int index, int period) {
    if (index < 0 || index >= static_cast<int>(speeds.size())) return;
    if (period != 0) speeds[index] = period;
    currentSpeed = index;
}

bool CCreditsScroller::StartScrolling() {
    if (lines.isEmpty()) return false;
    m_workImage = QImage();
    m_timer.start(speeds[currentSpeed]);
    timerId = m_timer.isActive() ? kScrollTimerId : 0;
    nextLine = 0;
    tickCounter = 1;
    scrolledInLine = 0;
    // A restart shows nothing of the line it interrupted.
    currentLine.clear();
    lineHeight = kInitialLineHeight;
    return true;
}

// The roll stops when the panel is hidden, as with the box that shows it, and
// does not tick on unseen.
void CCreditsScroller::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) {
        m_timer.stop();
        timerId = 0;
    }
    QWidget::hideEvent(event);
}

// The picture moves up by one pixel; the uncovered row is filled and gets the
// current line's next row.
void CCreditsScroller::tick() {
    const bool measures = changeLineIfDue();
    createWorkImageIfNone();
    const QRect deviceColumn = toDevice(textColumn());
    const bool lineBegins = scrolledInLine == 0;
    const int rowsBefore = deviceRows(scrolledInLine);
    scrolledInLine += std::abs(scrollStep);
    const int rows = deviceRows(scrolledInLine) - rowsBefore;
    if (!deviceColumn.isEmpty()) scrollColumn(deviceColumn, rows);
    if (!currentLine.isEmpty()) lineHeight = textHeights[styleOf(currentLine)];
    fillDeviceRect(bottomRows(deviceColumn.isEmpty() ? m_workImage.rect() : deviceColumn, rows));
    if (measures && !currentLine.isEmpty()) {
        widenColumn(
            QFontMetrics(m_fonts[styleOf(currentLine)]).horizontalAdvance(textOf(currentLine)));
    }
    if (lineBegins) drawLinePicture();
    copyLineRows(rowsBefore, rows);
    update();
}

// A line stays current for lineHeight ticks; true when the new line is to be
// measured, which happens only during the first pass over the lines.
bool CCreditsScroller::changeLineIfDue() {
    const int remainder = tickCounter % lineHeight;
    ++tickCounter;
    if (remainder != 0) return false;
    tickCounter = 1;
    currentLine = nextLine < lines.size() ? lines[nextLine] : QString();
    const bool measures = firstPass;
    if (++nextLine >= lines.size()) {
        firstPass = false;
        nextLine = 0;
    }
    scrolledInLine = 0;
    return measures;
}

void CCreditsScroller::createWorkImageIfNone() {
    if (!m_workImage.isNull()) return;
    const qreal ratio = devicePixelRatioF();
    m_workImage = QImage(size() * ratio, QImage::Format_RGB32);
    m_workImage.setDevicePixelRatio(ratio);
    m_workImage.fill(colors[0]);
}

// The column only grows, and never beyond the panel.
void CCreditsScroller::widenColumn(int textWidth) {
    if (textWidth > widestLine) widestLine = std::min(textWidth, width());
}

// The current line is drawn once, whole and centred in the column, when it
// begins; each tick copies the rows that have risen into view since the last.
// Drawing the text again on every tick would thicken its smoothed edges, and
// at a fractional device pixel ratio its rows would not meet exactly.
void CCreditsScroller::drawLinePicture() {
    const QRect deviceColumn = toDevice(textColumn());
    m_linePicture = QImage();
    if (currentLine.isEmpty() || deviceColumn.isEmpty()) return;
    m_linePicture = QImage(deviceColumn.width(), deviceRows(lineHeight), QImage::Format_RGB32);
    m_linePicture.setDevicePixelRatio(m_workImage.devicePixelRatio());
    m_linePicture.fill(colors[0]);
    QPainter painter(&m_linePicture);
    drawText(painter, QRectF(QPointF(0, 0), m_linePicture.deviceIndependentSize()),
             styleOf(currentLine), textOf(currentLine));
}

// Rows `first` to `first + rows` of the line picture go to the column's bottom
// rows, as far as the panel is tall enough for them.
void CCreditsScroller::copyLineRows(int first, int rows) {
    const QRect target = bottomRows(toDevice(textColumn()), rows).intersected(m_workImage.rect());
    const int from = first + rows - target.height();
    const int width = std::min(target.width(), m_linePicture.width());
    for (int i = 0; i < target.height() && from + i < m_linePicture.height(); ++i) {
        const QRgb* source = reinterpret_cast<const QRgb*>(m_linePicture.constScanLine(from + i));
        QRgb* row = reinterpret_cast<QRgb*>(m_workImage.scanLine(target.top() + i));
        std::copy_n(source, width, row + target.left());
    }
}

// Moves the column's pixels up by `rows`; its bottom rows keep what they had.
void CCreditsScroller::scrollColumn(const QRect& deviceColumn, int rows) {
    for (int y = deviceColumn.top(); y + rows <= deviceColumn.bottom(); ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(m_workImage.constScanLine(y + rows));
        QRgb* to = reinterpret_cast<QRgb*>(m_workImage.scanLine(y));
        std::copy_n(from + deviceColumn.left(), deviceColumn.width(), to + deviceColumn.left());
    }
}

void CCreditsScroller::fillDeviceRect(const QRect& deviceRect) {
    const QRect area = deviceRect.intersected(m_workImage.rect());
    const QRgb background = colors[0].rgb();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(m_workImage.scanLine(y));
        std::fill_n(row + area.left(), area.width(), background);
    }
}

// While the roll runs, the picture is what the ticks drew; without a timer the
// credits are drawn once from the top, as far as they fit.
void CCreditsScroller::paintEvent(QPaintEvent*) {
    if (timerId == 0) paintStatically();
    QPainter painter(this);
    if (m_workImage.isNull() || m_workImage.deviceIndependentSize() != QSizeF(size())) {
        painter.fillRect(rect(), colors[0]);
    }
    if (!m_workImage.isNull()) painter.drawImage(QPoint(0, 0), m_workImage);
}

// Each line is placed below the one before by its font's height; a line
// without text takes the height of the font of the line before it.
void CCreditsScroller::paintStatically() {
    m_workImage = QImage();
    createWorkImageIfNone();
    if (m_workImage.isNull()) return;
    QPainter painter(&m_workImage);
    Style style = kNormal;
    int top = 0;
    for (const QString& line : lines) {
        if (top >= height()) break;
        if (!line.isEmpty()) {
            style = styleOf(line);
            drawText(painter, QRectF(0, top, width(), textHeights[style]), style, textOf(line));
        }
        top += QFontMetrics(m_fonts[style]).height();
    }
}

// Centred on one line, cut at the rectangle's sides, with "&" shown as it is.
void CCreditsScroller::drawText(QPainter& painter, const QRectF& rect, Style style,
                                const QString& text) const {
    painter.setFont(m_fonts[style]);
    painter.setPen(colors[kLooks[style].color]);
    painter.drawText(rect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
}

CCreditsScroller::Style CCreditsScroller::styleOf(const QString& line) const {
    const qsizetype marker = markerOf(line);
    return marker < 0 ? kNormal : static_cast<Style>(marker);
}

QString CCreditsScroller::textOf(const QString& line) const {
    return markerOf(line) < 0 ? line : line.chopped(1);
}

qsizetype CCreditsScroller::markerOf(const QString& line) const {
    if (line.isEmpty()) return -1;
    const auto found = std::find(markers.begin(), markers.end(), line.back());
    return found == markers.end() ? -1 : found - markers.begin();
}

// The band of the panel's full height that the lines are drawn in, centred.
QRect CCreditsScroller::textColumn() const {
    return {(width() - widestLine) / 2, 0, widestLine, height()};
}

// The device pixels of a rectangle of the panel, within the work image.
QRect CCreditsScroller::toDevice(const QRect& rect) const {
    const qreal ratio = m_workImage.devicePixelRatio();
    const int left = qRound(rect.left() * ratio);
    const int top = qRound(rect.top() * ratio);
    const int right = qRound((rect.left() + rect.width()) * ratio);
    const int bottom = qRound((rect.top() + rect.height()) * ratio);
    return QRect(left, top, right - left, bottom - top).intersected(m_workImage.rect());
}

// Device rows for `pixels` pixels, rounded the same way every time, so that a
// line's rows meet without gaps at any device pixel ratio.
int CCreditsScroller::deviceRows(int pixels) const {
    return qRound(pixels * m_workImage.devicePixelRatio());
}

}  // namespace zefa::desktop
