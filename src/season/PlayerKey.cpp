#include "season/PlayerKey.h"

#include "model/NameRules.h"

namespace zefa::season {

std::string playerKey(std::string_view normalisedName, std::string_view strippedName) {
    if (strippedName.empty()) return std::string(normalisedName);
    std::string key(strippedName);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}

std::string playerKeyOfRawName(std::string_view rawName) {
    const std::string name = normaliseName(rawName);
    return playerKey(name, stripColourCodes(name));
}

}  // namespace zefa::season
