#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>
#include <system_error>

#include "awards/AwardTable.h"
#include "model/MatchStats.h"
#include "model/Weapons.h"
#include "theme/LineExpander.h"
#include "theme/PageClock.h"

namespace zefa {

struct Page;

// Writes a statistics page by copying a theme line by line, replacing tag
// lines with values of the match and expanding loops over its players,
// weapons, chat and awards.
class PageWriter : public LineExpander {
public:
    enum class PageResult {
        Written,
        ThemeUnreadable,   // the page is left empty
        OutputUnwritable,  // nothing or not everything reached the page
        TooLarge,          // the theme asked for too much work; the page is cut short
    };

    PageWriter() = default;
    // What the run reports beside the statistics: the log lines read, the
    // time it took, and the clock of the page's date and time (unset: now).
    PageWriter(std::int32_t lineCount, std::int32_t elapsedMs, std::optional<PageSeconds> fixedTime)
        : m_lineCount(lineCount), m_elapsedMs(elapsedMs), m_fixedTime(fixedTime) {}

    [[nodiscard]] std::int32_t lineCount() const { return m_lineCount; }  // "<= NUMLINES =>"
    [[nodiscard]] std::int32_t elapsedMs() const { return m_elapsedMs; }  // "<= DURATION =>"
    [[nodiscard]] std::optional<PageSeconds> fixedTime() const { return m_fixedTime; }

    // Creates or truncates the page file first, then reads the theme file;
    // `themeError` tells why the theme could not be read.
    PageResult WritePage(MatchStats& stats, const AwardTable& awards,
                         const std::filesystem::path& themePath,
                         const std::filesystem::path& outputPath, const WeaponNames& weaponNames,
                         std::error_code& themeError) const;
    // Creates or truncates the page file and expands the theme text into it.
    PageResult WritePage(MatchStats& stats, const AwardTable& awards, std::string_view theme,
                         const std::filesystem::path& outputPath,
                         const WeaponNames& weaponNames) const;
    // Expands the theme text onto the stream, without newline translation.
    // Sorts the player list in place, as the theme's loops ask.
    PageResult WritePage(MatchStats& stats, const AwardTable& awards, std::string_view theme,
                         std::ostream& out, const WeaponNames& weaponNames) const;

    // The dispatch for one theme line outside the loops' own tags: a line that
    // is a top-level tag is replaced by its value (or runs its loop), other
    // tag lines vanish, text is written as it stands.
    void ExpandLine(Page& page, std::string_view line) const override;

private:
    std::int32_t m_lineCount = 0;
    std::int32_t m_elapsedMs = -1;
    std::optional<PageSeconds> m_fixedTime;
};

}  // namespace zefa
