#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "model/DefenseKinds.h"
#include "model/Weapons.h"

namespace zefa {

// The log-line patterns. Every pattern is matched case-insensitively and
// unanchored; the first matching row of a table decides what a line means,
// so the order of the rows is part of the data.

// A kill: capture 1 is the victim (the owner with `sentry`), capture 2 the killer.
struct KillRow {
    std::string_view pattern;
    Weapon weapon = kRocketTotal;
    bool sentry = false;  // the victim is a destroyed sentry gun
};

// A suicide: capture 1 is the player.
struct SuicideRow {
    std::string_view pattern;
    Weapon weapon = kRocketTotal;
};

enum class PickupKind {
    Single,    // the one flag of the mode, kept in the red flag's slot
    ByColour,  // capture 2 names the colour of the flag taken
};

// A flag pick-up: capture 1 is the player.
struct PickupRow {
    std::string_view pattern;
    PickupKind kind;
};

enum class CaptureKind : std::int32_t {
    CapperNamed = 0,   // capture 1 is the capper
    FlagNamed = 1,     // capture 1 names the colour of the captured flag
    ScoringEvent = 4,  // the red slot's carrier scores; named teams lose a point
    NamedBase = 5,     // capture 2 names the colour of the base
};

struct CaptureRow {
    std::string_view pattern;
    CaptureKind kind;
};

// A defensive action: capture 1 is the player.
struct DefenseRow {
    std::string_view pattern;
    DefenseKind kind;
};

inline constexpr std::string_view kChatFilterPattern = "(.*): (.*)";
inline constexpr std::string_view kChatLinePattern = "(.*)\\^7: \\^2(.*)";  // speaker, text
inline constexpr std::string_view kSelfGrenadePattern = "No, (.*), you're supposed";
inline constexpr std::string_view kRenamePattern = "(.*) renamed to (.*)";  // old, new
inline constexpr std::string_view kOwnerlessSentryPattern =
    "n\\^7's autosentry has been destroyed by (.*)!";
// Compared exactly (case-sensitive) with the start of an ownerless-sentry line.
inline constexpr std::string_view kOwnerlessSentryPrefix = "n^7's autosentry";

// The tables both game versions share.
[[nodiscard]] std::span<const PickupRow> flagPickupTable();
[[nodiscard]] std::span<const CaptureRow> flagCaptureTable();
[[nodiscard]] std::span<const std::string_view> flagReturnTable();
[[nodiscard]] std::span<const DefenseRow> defenseTable();

// The tables that differ between the game's two message sets; they travel
// together with the weapon names of the same version.
struct VersionTables {
    std::span<const KillRow> kills;
    std::span<const SuicideRow> suicides;
    std::span<const std::string_view> environmentDeaths;  // every row means kEnvironment
    const WeaponNames& weaponNames;
};

// Version 2 selects the Beta2 set; every other value the Beta1H set.
[[nodiscard]] const VersionTables& versionTables(std::int32_t gameVersion);

}  // namespace zefa
