#include "desktop/core/VersionReading.h"

#include "desktop/core/MessageText.h"

namespace zefa::desktop {

std::string_view versionName(std::int32_t version) {
    return version == kGameVersionBeta2 ? kNewerVersionName : kOlderVersionName;
}

std::string VersionReading::description() const {
    std::string text(versionName(version));
    if (detected) text += kDetectedSuffix;
    return text;
}

}  // namespace zefa::desktop
