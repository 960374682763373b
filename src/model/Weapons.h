#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "model/PlayerRecord.h"

namespace zefa {

// Weapon ids, the index of PlayerRecord::weapKills and weapDeaths. Ids 0 and 15
// are totals that the finishing step fills in.
enum Weapon : std::int32_t {
    kRocketTotal = 0,
    kRocketSplash = 1,
    kRocketDirect = 2,
    kMelee = 3,  // "Gauntlet" before Beta2, "Axe" from Beta2 on
    kNailgun = 4,
    kShotgun = 5,
    kNailGrenade = 6,
    kGrenade = 7,
    kAutoCannon = 8,
    kWrench = 9,
    kRailgun = 10,
    kPulseGrenade = 11,
    kSentryBullet = 12,
    kDestroyedSentry = 13,
    kSentryRocket = 14,
    kSniperTotal = 15,
    kSniperHead = 16,
    kSniperLegs = 17,
    kSniperBody = 18,
    kDispenser = 19,
    kFlashGrenade = 20,
    kMirvGrenade = 21,
    kGrenadeLauncherSplash = 22,
    kGrenadeLauncherDirect = 23,
    kPipes = 24,
    kHeCharge = 25,
    kSniperAutorifle = 26,
    kKnife = 27,
    kTranqDart = 28,
    kHallucinogenicGas = 29,
    kInfection = 30,
    kIncendiaryCannon = 31,
    kNapalmGrenade = 32,
    kExplodingGas = 33,
    kEnvironment = 34,
};

// The game's two message sets. Every version number but 2 means the older one.
inline constexpr std::int32_t kGameVersionBeta1H = 1;
inline constexpr std::int32_t kGameVersionBeta2 = 2;

using WeaponNames = std::array<std::string_view, kWeaponCount>;

// Display names of the weapons under the given game version.
[[nodiscard]] const WeaponNames& weaponNames(std::int32_t gameVersion);

}  // namespace zefa
