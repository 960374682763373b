#pragma once

#include <cstdint>
#include <string_view>

#include "awards/AwardTable.h"
#include "model/MatchStats.h"
#include "model/Weapons.h"
#include "theme/LineExpander.h"
#include "theme/PageSink.h"
#include "theme/ThemeStream.h"

namespace zefa {

// One page being written: what its tags read, the theme being expanded and
// the page's output. It lives only while WritePage runs.
struct Page {
    const LineExpander& expander;  // the lines that are no tag of a running loop
    MatchStats& stats;             // loops sort its player list in place
    const AwardTable& awards;
    const WeaponNames& weaponNames;
    ThemeStream theme;
    PageSink sink;
    std::int32_t runningLoops = 0;

    // The next theme line; a page that has outgrown its size limit reads the
    // end of the theme, so every running loop stops.
    std::string_view readLine() {
        if (sink.overflowed()) theme.exhaust();
        return theme.readLine();
    }
};

}  // namespace zefa
