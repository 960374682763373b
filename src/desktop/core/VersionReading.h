#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/Weapons.h"

namespace zefa::desktop {

// Which message set a generation run read its log with, and how it came to.
struct VersionReading {
    std::int32_t version = kGameVersionBeta1H;
    bool detected = false;          // chosen by the log, not by the user
    bool otherReadsBetter = false;  // the user's set is not the one the log fits best

    [[nodiscard]] std::int32_t otherVersion() const {
        return version == kGameVersionBeta2 ? kGameVersionBeta1H : kGameVersionBeta2;
    }
    // "Zefa Beta2 or Newer", with "(detected from the log)" when it was.
    [[nodiscard]] std::string description() const;
};

// The name of a message set, as the wizard's version page calls it.
[[nodiscard]] std::string_view versionName(std::int32_t version);

}  // namespace zefa::desktop
