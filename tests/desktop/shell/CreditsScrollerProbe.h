#pragma once

#include <QFontMetrics>
#include <QImage>
#include <QString>
#include <QStringList>

#include "desktop/shell/CCreditsScroller.h"

namespace zefa::desktop {

// Drives a credits scroller tick by tick without its timer and reads its state.
class CreditsScrollerProbe {
public:
    explicit CreditsScrollerProbe(CCreditsScroller& scroller) : m_scroller(scroller) {}

    void tick(int times = 1) {
        for (int i = 0; i < times; ++i) m_scroller.tick();
    }
    // Ticks until the next line is current; how many ticks that took.
    int tickToNextLine() {
        int ticks = 1;
        for (m_scroller.tick(); m_scroller.tickCounter != 1; m_scroller.tick()) ++ticks;
        return ticks;
    }
    int normalWidth(const QString& text) const {
        return QFontMetrics(m_scroller.m_fonts[CCreditsScroller::kNormal]).horizontalAdvance(text);
    }
    [[nodiscard]] const QImage& image() const { return m_scroller.m_workImage; }
    [[nodiscard]] const QStringList& lines() const { return m_scroller.lines; }
    [[nodiscard]] const QString& currentLine() const { return m_scroller.currentLine; }
    [[nodiscard]] int widestLine() const { return m_scroller.widestLine; }
    [[nodiscard]] bool firstPass() const { return m_scroller.firstPass; }
    [[nodiscard]] unsigned timerId() const { return m_scroller.timerId; }
    [[nodiscard]] int interval() const { return m_scroller.m_timer.interval(); }

private:
    CCreditsScroller& m_scroller;
};

}  // namespace zefa::desktop
