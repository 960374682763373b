#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace zefa::desktop {

// The dialogs' layouts are given in dialog units, which scale with the
// dialog's font: a horizontal unit is a quarter of the font's average
// character width, a vertical unit an eighth of its height.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    [[nodiscard]] QRect rect(int left, int top, int width, int height) const;
    [[nodiscard]] QSize size(int width, int height) const;
    [[nodiscard]] int x(int units) const;
    [[nodiscard]] int y(int units) const;

private:
    int m_averageWidth;
    int m_height;
};

// The dialogs' font: "MS Sans Serif" at 8 points where it is installed, the
// system's sans-serif at 8 points elsewhere.
[[nodiscard]] QFont dialogFont();

}  // namespace zefa::desktop
