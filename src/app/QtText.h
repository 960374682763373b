#pragma once

#include <QString>
#include <string_view>

namespace zefa {

// The program's own texts are UTF-8.
inline QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace zefa
