#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "awards/AwardTable.h"
#include "model/Weapons.h"

namespace zefa::desktop {

// What the user last chose for a generation run, kept between runs of the
// program. A new record holds what a fresh installation starts with: no paths,
// the game version detected from each log and every award shown.
struct GenerationSettings {
    std::string themeFile;  // theme for new documents
    std::string outFile;    // where a page was last saved; the batch run's output
    std::string logFile;    // console log for new documents
    // 2: Beta2 or newer; the generation run reads every other value as the
    // older message set.
    std::int32_t gameVersion = kGameVersionBeta1H;
    // Each log is read with the message set that recognises more of its
    // lines; `gameVersion` then waits for the user to fix one again.
    bool detectVersion = true;
    // Award i is shown unless its flag is 0.
    std::array<std::int32_t, kAwardCount> awardSelected = filledWith(1);

    // The flags as the generation run takes them.
    [[nodiscard]] std::array<bool, kAwardCount> awardsShown() const {
        std::array<bool, kAwardCount> shown{};
        for (std::size_t i = 0; i < shown.size(); ++i) shown[i] = awardSelected[i] != 0;
        return shown;
    }

    friend bool operator==(const GenerationSettings&, const GenerationSettings&) = default;

private:
    static constexpr std::array<std::int32_t, kAwardCount> filledWith(std::int32_t value) {
        std::array<std::int32_t, kAwardCount> flags{};
        flags.fill(value);
        return flags;
    }
};

}  // namespace zefa::desktop
