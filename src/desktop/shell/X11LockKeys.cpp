#include "desktop/shell/X11LockKeys.h"

#include <QGuiApplication>

#ifdef ZEFA_HAS_X11
#include <X11/XKBlib.h>
#endif

namespace zefa::desktop {

std::optional<std::array<bool, 3>> x11LockKeys() {
#ifdef ZEFA_HAS_X11
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    // The offscreen platform answers as X11 too, but without a display.
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr) return std::nullopt;
    constexpr std::array<const char*, 3> kIndicators = {"Caps Lock", "Num Lock", "Scroll Lock"};
    std::array<bool, 3> on{};
    for (std::size_t i = 0; i < kIndicators.size(); ++i) {
        const Atom indicator = XInternAtom(display, kIndicators[i], True);
        Bool state = False;
        if (indicator != None &&
            XkbGetNamedIndicator(display, indicator, nullptr, &state, nullptr, nullptr))
            on[i] = state != False;
    }
    return on;
#else
    return std::nullopt;
#endif
}

}  // namespace zefa::desktop
