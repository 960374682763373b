#pragma once

#include <QFontMetrics>

#include "app/CCreditsScroller.h"

namespace zefa {

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
    [[nodiscard]] int normalWidth(const QString& text) const {
        return QFontMetrics(s_.fonts[CCreditsScroller::kNormal]).horizontalAdvance(text);
    }

    [[nodiscard]] const QImage& image() const { return s_.workImage; }
    [[nodiscard]] const QStringList& lines() const { return s_.lines; }
    [[nodiscard]] const QString& currentLine() const { return s_.currentLine; }
    [[nodiscard]] int widestLine() const { return s_.widestLine; }
    [[nodiscard]] bool firstPass() const { return s_.firstPass; }
    [[nodiscard]] unsigned timerId() const { return s_.timerId; }
    [[nodiscard]] int interval() const { return s_.timer.interval(); }

private:
    CCreditsScroller& s_;
};

}  // namespace zefa
