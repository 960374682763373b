#include "parser/LogText.h"

namespace zefa {

bool looksLikeText(std::string_view bytes) {
    return bytes.substr(0, kTextSniffBytes).find('\0') == std::string_view::npos;
}

std::string_view whyNoPlayer(std::int32_t lineCount, std::string_view start) {
    if (lineCount == 0) return kLogEmpty;
    return looksLikeText(start) ? kLogWithoutPlayers : kLogNotText;
}

}  // namespace zefa
