#include "BenchLog.h"

#include <array>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "parser/PatternTables.h"
#include "support/PrintedPattern.h"

namespace zefa {

namespace {

constexpr std::array<std::string_view, 12> kNames = {
    "^1Sn^7ake", "Bob",         "^4Blue^7Ice", "^3^7Ra^*zor", "Tom",       "^2Gr^7een Mile",
    "Killjoy^7", "^5Cyan^7ide", "Dr. Pain",    "^6Vio^7let",  "Nox^9ious", "a^1lly^7Cat",
};

// Lines a console prints around a match that match no pattern.
constexpr std::array<std::string_view, 6> kNoise = {
    "----- Server Initialization -----",
    "Loading map 2fort5r, please wait",
    "Bob entered the game",
    "RE_Shutdown( 1 )",
    "Sound memory manager started",
    "^3Warmup ended, match starts now",
};

// How often each kind of line turns up, per 100 lines.
struct Share {
    std::string_view kind;
    int weight;
};
constexpr std::array<Share, 12> kShares = {{
    {"kill1", 22},
    {"kill2", 22},
    {"noise", 15},
    {"chat", 10},
    {"pickup", 7},
    {"capture", 3},
    {"return", 3},
    {"defense", 4},
    {"suicide", 6},
    {"environment", 5},
    {"rename", 1},
    {"grenade", 2},
}};

class LineMaker {
public:
    std::string line() {
        const std::string_view kind = pickKind();
        if (kind == "noise") return std::string(pick(kNoise));
        if (kind == "chat") return name() + "^7: ^2gg, " + name() + " that was close";
        if (kind == "rename") return name() + " renamed to " + name();
        if (kind == "grenade") return "No, " + name() + ", you're supposed to throw it!";
        if (kind == "kill1") return fill(pick(versionTables(1).kills).pattern);
        if (kind == "kill2") return fill(pick(versionTables(2).kills).pattern);
        if (kind == "suicide") return fill(pick(versionTables(2).suicides).pattern);
        if (kind == "environment") return fill(pick(versionTables(1).environmentDeaths));
        if (kind == "pickup") return fill(pick(flagPickupTable()).pattern);
        if (kind == "capture") return fill(pick(flagCaptureTable()).pattern);
        if (kind == "return") return fill(pick(flagReturnTable()));
        return fill(pick(defenseTable()).pattern);
    }

private:
    template <typename Rows>
    const typename Rows::value_type& pick(const Rows& rows) {
        return rows[m_random() % std::size(rows)];
    }
    std::string name() { return std::string(pick(kNames)); }

    std::string_view pickKind() {
        int roll = static_cast<int>(m_random() % 100);
        for (const Share& share : kShares) {
            if (roll < share.weight) return share.kind;
            roll -= share.weight;
        }
        return kShares.back().kind;
    }

    // The pattern as the game would print it: the first group a player, the
    // others a player or a team colour.
    std::string fill(std::string_view pattern) {
        return test::printedPattern(pattern, [this](int group) {
            return group == 0 || m_random() % 2 ? name() + "^7" : std::string("blue ");
        });
    }

    std::mt19937 m_random{20261206};
};

}  // namespace

const std::filesystem::path& benchLog(std::int32_t lineCount) {
    static std::map<std::int32_t, std::filesystem::path> written;
    auto [entry, isNew] = written.try_emplace(lineCount);
    if (!isNew) return entry->second;
    entry->second = std::filesystem::temp_directory_path() /
                    ("zefa-bench-" + std::to_string(lineCount) + ".log");
    std::ofstream out(entry->second, std::ios::binary);
    LineMaker maker;
    for (std::int32_t i = 0; i < lineCount; ++i) out << maker.line() << '\n';
    return entry->second;
}

}  // namespace zefa
