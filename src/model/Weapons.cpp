#include "model/Weapons.h"

namespace zefa {

namespace {

// The two lists differ only at id 3.
constexpr WeaponNames makeNames(std::string_view melee) {
    return {
        "Rocket Launcher (Total)",
        "Rocket Launcher (Splash)",
        "Rocket Launcher (Direct)",
        melee,
        "(Super)Nailgun",
        "(Super)Shotgun",
        "Nail Grenade",
        "Grenade",
        "AutoCannon",
        "Wrench",
        "Railgun",
        "EM Pulse Grenade",
        "Sentry (Bullet)",
        "Destroyed Sentrygun",
        "Sentry (Rocket)",
        "Sniper Rifle (Total)",
        "Sniper Rifle (Head)",
        "Sniper Rifle (Legs)",
        "Sniper Rifle (Body)",
        "Dispenser",
        "Flash Grenade",
        "MIRV Grenade",
        "Grenade Launcher (Splash)",
        "Grenade Launcher (Direct)",
        "Pipes",
        "HE Charge",
        "Sniper Autorifle",
        "Knife",
        "Tranquelizer Dart",
        "Hallucingenic Gas",
        "Infection",
        "Incendiary Cannon",
        "Napalm Grenade",
        "Exploding Gas",
        "Falling, lava, drowning",
    };
}

constexpr WeaponNames kBeta1HNames = makeNames("Gauntlet");
constexpr WeaponNames kBeta2Names = makeNames("Axe");

}  // namespace

const WeaponNames& weaponNames(std::int32_t gameVersion) {
    return gameVersion == kGameVersionBeta2 ? kBeta2Names : kBeta1HNames;
}

}  // namespace zefa
