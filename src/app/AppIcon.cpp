#include "app/AppIcon.h"

#include <QString>

namespace zefa {

QIcon appIcon() { return QIcon(QStringLiteral(":/icons/zefastats2.svg")); }

}  // namespace zefa
