#include "desktop/shell/AppIcon.h"

#include <QString>

namespace zefa::desktop {

QIcon appIcon() { return QIcon(QStringLiteral(":/icons/zefastats2.svg")); }

}  // namespace zefa::desktop
