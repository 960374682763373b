#include "desktop/shell/DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

namespace zefa::desktop {

namespace {
constexpr int kDialogPointSize = 8;
}  // namespace

// The average width is measured over the 52 letters and rounded, as the
// dialog manager measures it.
DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_averageWidth = (letters / 26 + 1) / 2;
    m_height = metrics.height();
}

// Rounded to the nearest pixel, as the dialog manager's MulDiv does.
int DialogUnits::x(int units) const { return (units * m_averageWidth + 2) / 4; }
int DialogUnits::y(int units) const { return (units * m_height + 4) / 8; }

QRect DialogUnits::rect(int left, int top, int width, int height) const {
    return {x(left), y(top), x(width), y(height)};
}

QSize DialogUnits::size(int width, int height) const { return {x(width), y(height)}; }

QFont dialogFont() {
    const QString designed = QStringLiteral("MS Sans Serif");
    if (QFontDatabase::families().contains(designed)) return QFont(designed, kDialogPointSize);
    QFont font(QStringLiteral("Sans Serif"), kDialogPointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace zefa::desktop
