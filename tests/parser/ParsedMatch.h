#pragma once

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string_view>

#include "model/MatchStats.h"
#include "model/Weapons.h"
#include "parser/LogParser.h"
#include "parser/PatternSet.h"
#include "parser/PatternTables.h"

namespace zefa::test {

// The scalar counters the flag and kill rules write, compared in one go.
struct Counts {
    std::int32_t kills = 0, deaths = 0, suicides = 0, tks = 0, tkDeaths = 0;
    std::int32_t touches = 0, caps = 0, drops = 0, c2cs = 0, flagSaves = 0;
    bool operator==(const Counts&) const = default;
    friend void PrintTo(const Counts& c, std::ostream* os) {
        *os << "kills " << c.kills << " deaths " << c.deaths << " suicides " << c.suicides
            << " tks " << c.tks << " tkDeaths " << c.tkDeaths << " touches " << c.touches
            << " caps " << c.caps << " drops " << c.drops << " c2cs " << c.c2cs << " flagSaves "
            << c.flagSaves;
    }
};

// A parser with the statistics it fills, fed line by line.
struct ParsedMatch {
    explicit ParsedMatch(std::int32_t gameVersion = kGameVersionBeta2)
        : patterns(versionTables(gameVersion)), parser(stats, patterns) {}

    void lines(std::initializer_list<std::string_view> log) {
        for (std::string_view line : log) parser.classifyLine(line);
    }
    // The player under that raw name; a record of zeros when there is none.
    const PlayerRecord& operator[](std::string_view rawName) {
        const PlayerRecord* p = stats.findPlayer(rawName, false);
        return p ? *p : missing;
    }
    Counts counts(std::string_view rawName) {
        const PlayerRecord& p = (*this)[rawName];
        return {p.kills,   p.deaths, p.suicides, p.tks,  p.tkDeaths,
                p.touches, p.caps,   p.drops,    p.c2cs, p.flagSaves};
    }

    MatchStats stats;
    PatternSet patterns;
    LogParser parser;
    const PlayerRecord missing{};
};

}  // namespace zefa::test
