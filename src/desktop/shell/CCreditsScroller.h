#pragma once

#include <QChar>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <array>

class QPainter;

namespace zefa::desktop {

// A black panel on which lines of text rise one pixel per tick from the bottom
// edge and start again after the last line. Every tick moves a persistent
// off-screen picture up by a pixel and fills in only the uncovered row, and the
// screen gets that picture whole, so the roll never flickers.
//
// A line's last character chooses its style and is not shown: a tab a title,
// a line feed a heading, a carriage return a list entry, "^" a normal line;
// with any other last character the whole line is shown as a normal line.
class CCreditsScroller : public QWidget {
    Q_OBJECT

public:
    explicit CCreditsScroller(QWidget* parent = nullptr);

    // The lines are the pieces of `text` between the separators; an empty text
    // gives none.
    void SetCredits(const QString& text, QChar separator);
    // Selects the timer period `speeds[index]`, first setting it to `period`
    // unless that is 0.
    void SetSpeed(int index, int period);
    // Starts the roll from its first line; false, and nothing starts, without lines.
    bool StartScrolling();

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    friend class CreditsScrollerProbe;

    enum Style { kTitle, kHeading, kList, kNormal, kStyleCount };
    // What timerId holds while the roll's timer runs.
    static constexpr unsigned kScrollTimerId = 150;
    // The line height before the first line: it comes on the 15th tick.
    static constexpr int kInitialLineHeight = 15;

    void tick();
    bool changeLineIfDue();
    void createWorkImageIfNone();
    void widenColumn(int textWidth);
    void drawLinePicture();
    void copyLineRows(int first, int rows);
    void scrollColumn(const QRect& deviceColumn, int rows);
    void fillDeviceRect(const QRect& deviceRect);
    void paintStatically();
    void drawText(QPainter& painter, const QRectF& rect, Style style, const QString& text) const;

    [[nodiscard]] Style styleOf(const QString& line) const;
    [[nodiscard]] QString textOf(const QString& line) const;
    [[nodiscard]] qsizetype markerOf(const QString& line) const;
    [[nodiscard]] QRect textColumn() const;
    [[nodiscard]] QRect toDevice(const QRect& rect) const;
    [[nodiscard]] int deviceRows(int pixels) const;

    std::array<QColor, 5> colors{QColor(0, 0, 0), QColor(0, 0, 255), QColor(255, 255, 0),
                                 QColor(0, 255, 255), QColor(255, 255, 255)};
    std::array<int, kStyleCount> textHeights{21, 19, 15, 15};
    std::array<QChar, kStyleCount> markers{u'\t', u'\n', u'\r', u'^'};
    std::array<int, 3> speeds{70, 40, 10};
    int currentSpeed = 1;
    QStringList lines;
    QString currentLine;
    int tickCounter = 1;
    qsizetype nextLine = 0;  // index into lines
    int scrolledInLine = 0;
    int scrollStep = -1;
    int lineHeight = kInitialLineHeight;
    QImage m_workImage;  // null until the first tick
    bool firstPass = true;
    int widestLine = 0;
    unsigned timerId = 0;  // 0: no timer runs

    QImage m_linePicture;  // the current line, drawn whole as wide as the column
    std::array<QFont, kStyleCount> m_fonts;
    QTimer m_timer;
};

}  // namespace zefa::desktop
