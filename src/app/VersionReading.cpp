#include "app/VersionReading.h"

#include "resources/UiText.h"

namespace zefa {

std::string_view versionName(std::int32_t version) {
    return version == kGameVersionBeta2 ? ui::kNewerVersionName : ui::kOlderVersionName;
}

std::string VersionReading::description() const {
    std::string text(versionName(version));
    if (detected) text += ui::kDetectedSuffix;
    return text;
}

}  // namespace zefa
