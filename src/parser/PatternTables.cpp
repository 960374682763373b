#include "parser/PatternTables.h"

#include <array>
#include <cstddef>

#include "parser/match/ExactMatcher.h"
#include "parser/match/MatchEngine.h"

namespace zefa {

namespace {

constexpr std::array<PickupRow, 10> kFlagPickups = {{
    {"(.*) took the flag", PickupKind::Single},
    {"(.*) took the (.*)flag", PickupKind::ByColour},
    {"(.*) grabbed the (.*)flag", PickupKind::ByColour},
    {"(.*) nabbed the (.*)flag", PickupKind::ByColour},
    {"(.*) snagged (.*)'s (.*)rag", PickupKind::ByColour},
    {"(.*) of the (.*) has taken the flag", PickupKind::Single},
    {"(.*) has taken the flag", PickupKind::Single},
    {"(.*) has taken the (.*)flag", PickupKind::ByColour},
    {"(.*) \\((.*)\\) has the SPAZ-BALL", PickupKind::Single},
    {"(.*) took the (.*) Cross", PickupKind::ByColour},
}};

constexpr std::array<CaptureRow, 15> kFlagCaptures = {{
    {"(.*) has captured the flag in the (.*) base", CaptureKind::NamedBase},
    {"(.*) has captured the (.*)flag", CaptureKind::CapperNamed},
    {"(.*) captured the (.*) (.*)flag", CaptureKind::CapperNamed},
    {"(.*) peed on (.*)'s (.*)rag", CaptureKind::CapperNamed},
    {"(.*) has captured the (.*) cross", CaptureKind::CapperNamed},
    {"(.*) capped (.*) \\^7CP\\^(.*)", CaptureKind::CapperNamed},
    {"(.*) is no match for the mighty (.*)\\^7!", CaptureKind::FlagNamed},
    {"The (.*) flag has been captured, Nice job (.*) (.*)Team", CaptureKind::FlagNamed},
    {"(.*) shoves it up \\^2GREENS\\^7 backside", CaptureKind::ScoringEvent},
    {"(.*) slams the ball on \\^4BLUE\\^7", CaptureKind::ScoringEvent},
    {"(.*) shows \\^1RED\\^7 how its done", CaptureKind::ScoringEvent},
    {"(.*) decides \\^3YELLOW\\^7 must lose", CaptureKind::ScoringEvent},
    {"(.*) are down", CaptureKind::ScoringEvent},
    {"(.*) is out", CaptureKind::ScoringEvent},
    {"(.*) scores against the (.*) team", CaptureKind::ScoringEvent},
}};

constexpr std::array<std::string_view, 5> kFlagReturns = {
    "(.*)the (.*) (.*)flag (.*)returned",  "(.*)the (.*)flag (.*)returned", "(.*)rag (.*)returned",
    "(.*)the (.*) (.*)cross (.*)returned", "The Spaz-Ball has returned",
};

constexpr std::array<DefenseRow, 7> kDefenses = {{
    {"(.*) defends the (.*) flag carrier!", kDefendedCarrier},
    {"(.*) teamkilled the (.*) team's flag carrier!", kTeamKilledCarrier},
    {"(.*) killed the (.*) team's flag carrier!", kKilledEnemyCarrier},
    {"(.*) scores (.*) for fragging an enemy while capturing the flag!", kKilledWhileCapping},
    {"(.*) defends the (.*) flag", kDefendedFlag},
    {"(.*) defends the (.*) base", kDefendedFlag},
    {"(.*) killed the (.*) team's flag carrier while carrying the enemy",
     kKilledCarrierWhileHolding},
}};

// The kill and environment-death tables of the two versions are one list
// each in which a few rows belong to one version only; every version's table
// is that list filtered, order kept.
enum class Edition { Both, Beta1HOnly, Beta2Only };

template <typename Row>
struct EditionRow {
    Row row;
    Edition edition = Edition::Both;
};

constexpr bool inBeta2(Edition e) { return e != Edition::Beta1HOnly; }
constexpr bool inBeta1H(Edition e) { return e != Edition::Beta2Only; }

template <bool (*Keep)(Edition), typename Row, std::size_t N>
constexpr std::size_t countRows(const std::array<EditionRow<Row>, N>& all) {
    std::size_t n = 0;
    for (const auto& r : all) n += Keep(r.edition) ? 1 : 0;
    return n;
}

template <std::size_t M, bool (*Keep)(Edition), typename Row, std::size_t N>
constexpr std::array<Row, M> keepRows(const std::array<EditionRow<Row>, N>& all) {
    std::array<Row, M> kept{};
    std::size_t n = 0;
    for (const auto& r : all) {
        if (Keep(r.edition)) kept[n++] = r.row;
    }
    return kept;
}

using KillSource = EditionRow<KillRow>;
constexpr std::array<KillSource, 35> kAllKills = {{
    {{"(.*) mistook (.*)'s grenade for", kGrenade}},
    {{"(.*) almost dodged (.*)'s rocket", kRocketSplash}},
    {{"(.*) ate (.*)'s rocket", kRocketDirect}},
    {{"(.*) was nailed by (.*)", kNailgun}},
    {{"(.*) was gunned down by (.*)", kShotgun}},
    {{"(.*) felt the wrath of (.*)'s autosentry", kSentryBullet}},
    {{"(.*) swallowed a rocket from (.*)'s autosentry", kSentryRocket}},
    {{"(.*) ate (.*)'s grenade", kGrenadeLauncherSplash}},
    {{"(.*) failed to avoid (.*)'s grenade", kGrenadeLauncherDirect}},
    {{"(.*) swallowed (.*)'s pipe", kPipes}},
    {{"(.*) is sniped by (.*)", kSniperBody}},
    {{"(.*) gets a bullet between the eyes from (.*)", kSniperHead}},
    {{"(.*) gets his legs blown off by (.*)", kSniperLegs}},
    {{"(.*) gets her legs blown off by (.*)", kSniperLegs}, Edition::Beta2Only},
    {{"(.*) was shredded by (.*)'s nail", kNailGrenade}},
    {{"(.*) was crisped by (.*)'s pulse", kPulseGrenade}},
    {{"(.*) lost an argument with (.*)'s supply", kDispenser}},
    {{"(.*) was floored by a hail of lead from (.*)'s minigun", kAutoCannon}},
    {{"(.*) is knifed by (.*)", kKnife}},
    {{"(.*) found himself on the wrong end of (.*)'s", kMirvGrenade}},
    {{"(.*) found herself on the wrong end of (.*)'s", kMirvGrenade}, Edition::Beta2Only},
    {{"(.*) was railed by (.*)", kRailgun}},
    {{"(.*) was burnt to a crisp by (.*)", kIncendiaryCannon}},
    {{"(.*) had his eyeballs melted (.*)'s flashbang", kFlashGrenade}},
    {{"(.*) had her eyeballs melted (.*)'s flashbang", kFlashGrenade}, Edition::Beta2Only},
    {{"(.*) was pummeled by (.*)", kMelee}, Edition::Beta1HOnly},
    {{"(.*) was chopped to bits by (.*)", kMelee}, Edition::Beta2Only},
    {{"(.*) learned the true power of (.*)'s HE", kHeCharge}},
    {{"(.*) is put to sleep by (.*)", kTranqDart}},
    {{"(.*) expired from an overdose of (.*)'s hallucinogenic", kHallucinogenicGas}},
    {{"(.*) succumbed to (.*)'s infection", kInfection}},
    {{"(.*) received (.*)'s bullet spray", kSniperAutorifle}},
    {{"(.*) got a wrench-shaped dent from (.*)", kWrench}},
    {{"(.*) found (.*)'s napalm", kNapalmGrenade}},
    {{"(.*)'s autosentry has been destroyed by (.*)!", kDestroyedSentry, true}},
}};

using EnvironmentSource = EditionRow<std::string_view>;
constexpr std::array<EnvironmentSource, 9> kAllEnvironmentDeaths = {{
    {"(.*) cratered"},
    {"(.*) sank like a rock"},
    {"(.*) killed himself"},
    {"(.*) killed herself", Edition::Beta2Only},
    {"(.*) melted"},
    {"(.*) does a backflip into the lava"},
    {"(.*) fell under the hypnotic gaze of the king cobra", Edition::Beta2Only},
    {"(.*) fell victim to the (.*) laser pit!", Edition::Beta2Only},
    {"(.*) was squished", Edition::Beta2Only},
}};

constexpr auto kBeta1HKills = keepRows<countRows<inBeta1H>(kAllKills), inBeta1H>(kAllKills);
constexpr auto kBeta2Kills = keepRows<countRows<inBeta2>(kAllKills), inBeta2>(kAllKills);
constexpr auto kBeta1HEnvironmentDeaths =
    keepRows<countRows<inBeta1H>(kAllEnvironmentDeaths), inBeta1H>(kAllEnvironmentDeaths);
constexpr auto kBeta2EnvironmentDeaths =
    keepRows<countRows<inBeta2>(kAllEnvironmentDeaths), inBeta2>(kAllEnvironmentDeaths);
static_assert(kBeta1HKills.size() == 31 && kBeta2Kills.size() == 34);
static_assert(kBeta1HEnvironmentDeaths.size() == 5 && kBeta2EnvironmentDeaths.size() == 9);

constexpr std::array<SuicideRow, 11> kBeta1HSuicides = {{
    {"(.*) blew himself", kRocketSplash},
    {"(.*) swallowed his own grenade", kGrenade},
    {"(.*) learned how his nail bomb", kNailGrenade},
    {"(.*) tripped on his", kGrenadeLauncherSplash},
    {"(.*) tried to argue", kSentryBullet},
    {"(.*) picked a bad time to polish", kSentryBullet},
    {"(.*) fell out with his", kDispenser},
    {"(.*) exploded along with his", kSentryBullet},
    {"(.*) was shocked by his pulse", kPulseGrenade},
    {"(.*) was dazzled by his own grenade", kFlashGrenade},
    {"(.*) succumbed to his own gas", kHallucinogenicGas},
}};

constexpr std::array<SuicideRow, 17> kBeta2Suicides = {{
    {"(.*) blew (.*)self", kRocketSplash},
    {"(.*) swallowed (.*) own grenade", kGrenade},
    {"(.*) learned how (.*) nail bomb", kNailGrenade},
    {"(.*) tripped on", kGrenadeLauncherSplash},
    {"(.*) underestimated the power of the HE charge", kHeCharge},
    {"(.*) tried to argue", kSentryBullet},
    {"(.*) picked a bad time to polish", kSentryBullet},
    {"(.*) learned just how heavy his autosentry", kSentryBullet},
    {"(.*) exploded along with", kSentryBullet},
    {"(.*) fell out with", kDispenser},
    {"(.*) was shocked by his pulse", kPulseGrenade},
    {"(.*) was shocked by her pulse", kPulseGrenade},
    {"(.*) was dazzled by (.*) own grenade", kFlashGrenade},
    {"(.*) spammed (.*)self with (.*) cluster", kMirvGrenade},
    {"(.*) succumbed to (.*) own gas", kHallucinogenicGas},
    {"(.*) toasted (.*)self with (.*) napalm", kNapalmGrenade},
    {"(.*) got trapped in (.*) own inferno", kNapalmGrenade},
}};

template <typename Table>
constexpr bool allExact(const Table& table) {
    for (const auto& row : table) {
        if constexpr (requires { row.pattern; }) {
            if (!ExactMatcher::fits(row.pattern)) return false;
        } else {
            if (!ExactMatcher::fits(row)) return false;
        }
    }
    return true;
}

// Without PCRE2 the exact matcher is the only engine: a row it cannot run
// must stop the build rather than never match.
static_assert(kPcre2Built || (allExact(kFlagPickups) && allExact(kFlagCaptures) &&
                               allExact(kFlagReturns) && allExact(kDefenses) &&
                               allExact(kBeta1HKills) && allExact(kBeta2Kills) &&
                               allExact(kBeta1HEnvironmentDeaths) &&
                               allExact(kBeta2EnvironmentDeaths) && allExact(kBeta1HSuicides) &&
                               allExact(kBeta2Suicides) &&
                               allExact(std::array{kChatFilterPattern, kChatLinePattern,
                                                   kSelfGrenadePattern, kRenamePattern,
                                                   kOwnerlessSentryPattern})),
              "a log-line pattern outside the exact matcher's shape needs PCRE2");

}  // namespace

std::span<const PickupRow> flagPickupTable() { return kFlagPickups; }
std::span<const CaptureRow> flagCaptureTable() { return kFlagCaptures; }
std::span<const std::string_view> flagReturnTable() { return kFlagReturns; }
std::span<const DefenseRow> defenseTable() { return kDefenses; }

const VersionTables& versionTables(std::int32_t gameVersion) {
    static const VersionTables beta1H{kBeta1HKills, kBeta1HSuicides, kBeta1HEnvironmentDeaths,
                                      weaponNames(kGameVersionBeta1H)};
    static const VersionTables beta2{kBeta2Kills, kBeta2Suicides, kBeta2EnvironmentDeaths,
                                     weaponNames(kGameVersionBeta2)};
    return gameVersion == kGameVersionBeta2 ? beta2 : beta1H;
}

}  // namespace zefa
