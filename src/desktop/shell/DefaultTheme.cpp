#include "desktop/shell/DefaultTheme.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "desktop/settings/QtText.h"

namespace zefa::desktop {

std::string defaultThemeFile() {
    const QString candidates[] = {
        QCoreApplication::applicationDirPath() +
            QStringLiteral("/../share/zefastats2/themes/default.thm"),
        QStringLiteral(ZEFA_SOURCE_THEMES_DIR "/default.thm"),
    };
    for (const QString& candidate : candidates)
        if (const QFileInfo file(candidate); file.isFile())
            return pathBytes(file.canonicalFilePath());
    return {};
}

}  // namespace zefa::desktop
