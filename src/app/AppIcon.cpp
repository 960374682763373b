#include "app/AppIcon.h"

#include <QString>

// The resources live in a static library, whose registration the linker keeps
// only when something calls it; the call must name the global namespace.
static void registerIconResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(zefastats2);
        return true;
    }();
    (void)registered;
}

namespace zefa {

QIcon appIcon() {
    registerIconResources();
    return QIcon(QStringLiteral(":/icons/zefastats2.svg"));
}

}  // namespace zefa
