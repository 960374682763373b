#include <gtest/gtest.h>

#include <QFontMetrics>

#include "desktop/shell/DialogUnits.h"

namespace zefa::desktop {
namespace {

// The units follow the font: a larger font gives a proportionally larger layout.
TEST(DialogUnitsTest, ScaleWithTheFontAndRoundToThePixel) {
    QFont small = dialogFont();
    EXPECT_EQ(small.pointSize(), 8);
    QFont large = small;
    large.setPointSize(16);
    const DialogUnits smallUnits(small), largeUnits(large);
    const QFontMetrics metrics(small);
    EXPECT_EQ(smallUnits.y(8), metrics.height());
    EXPECT_GT(largeUnits.x(350), smallUnits.x(350) * 3 / 2);
    EXPECT_GT(largeUnits.y(249), smallUnits.y(249) * 3 / 2);
    const QRect rect = smallUnits.rect(25, 26, 299, 160);
    EXPECT_EQ(rect.topLeft(), QPoint(smallUnits.x(25), smallUnits.y(26)));
    EXPECT_EQ(rect.size(), smallUnits.size(299, 160));
}

}  // namespace
}  // namespace zefa::desktop
