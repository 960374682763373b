#include "app/DefaultTheme.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "app/QtText.h"

namespace zefa {

std::string defaultThemeFile() {
    const QString candidates[] = {
        QCoreApplication::applicationDirPath() +
            QStringLiteral("/../share/zefastats2/themes/default.thm"),
        QStringLiteral(ZEFA_SOURCE_THEMES_DIR "/default.thm"),
    };
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isFile()) return pathBytes(QFileInfo(candidate).canonicalFilePath());
    return {};
}

}  // namespace zefa
