#pragma once

#include <QFontMetrics>

#include "app/CCreditsScroller.h"

namespace zefa {

// Drives a credits scroller tick by tick without its timer and reads its state.
class CreditsScrollerProbe {
public:
    explicit CreditsScrollerProbe(CCreditsScroller& scroller) : scroller_(scroller) {}

    void tick(int times = 1) {
        for (int i = 0; i < times; ++i) scroller_.tick();
    }
    // Ticks until the next line becomes current; how many ticks that took.
    int tickToNextLine() {
        int ticks = 0;
        do {
            scroller_.tick();
            ++ticks;
        } while (scroller_.tickCounter != 1);
        return ticks;
    }

    [[nodiscard]] const QImage& image() const { return scroller_.workImage; }
    [[nodiscard]] const QStringList& lines() const { return scroller_.lines; }
    [[nodiscard]] const QString& currentLine() const { return scroller_.currentLine; }
    [[nodiscard]] int widestLine() const { return scroller_.widestLine; }
    [[nodiscard]] bool firstPass() const { return scroller_.firstPass; }
    [[nodiscard]] unsigned timerId() const { return scroller_.timerId; }
    [[nodiscard]] int interval() const { return scroller_.timer.interval(); }
    // The width of `text` in the normal lines' font.
    [[nodiscard]] int normalWidth(const QString& text) const {
        return QFontMetrics(scroller_.fonts[CCreditsScroller::kNormal]).horizontalAdvance(text);
    }

private:
    CCreditsScroller& scroller_;
};

}  // namespace zefa
