#pragma once

#include <QFile>
#include <QString>
#include <string>
#include <string_view>

namespace zefa::desktop {

// The program's own texts are UTF-8.
inline QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Paths are kept as the file system's bytes.
inline QString qPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}
inline std::string pathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace zefa::desktop
