#pragma once

#include <string>
#include <string_view>

namespace zefa {

// Raw bytes read as ISO-8859-1, one code point per byte, written as UTF-8:
// how texts from a log reach JSON.
[[nodiscard]] std::string latin1ToUtf8(std::string_view bytes);

}  // namespace zefa
