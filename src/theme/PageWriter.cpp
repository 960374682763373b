#include "theme/PageWriter.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iomanip>
#include <locale>
#include <sstream>
#include <string>

#include "model/Teams.h"
#include "theme/HtmlText.h"
#include "theme/Page.h"
#include "theme/StatisticsLoops.h"
#include "theme/ThemeFile.h"

namespace zefa {

namespace {

// A hostile theme can nest loops so that the work grows exponentially with its
// length; a real theme's work grows with the square of the players, as its
// kill matrix does. A rich theme over 75 players, kill matrix included, reads
// 170,000 lines (13 MiB of work as the theme stream counts it, about 2.4 KiB a
// cell) and writes 1.2 MiB (about 220 bytes a cell).
constexpr std::size_t kBaseLimit = std::size_t{256} << 20;
constexpr std::size_t kWorkPerCell = 4 << 10;
constexpr std::size_t kPagePerCell = 1 << 10;

std::size_t themeWorkBudget(std::size_t players) {
    return kBaseLimit + players * players * kWorkPerCell;
}
std::size_t pageSizeLimit(std::size_t players) {
    return kBaseLimit + players * players * kPagePerCell;
}

// The credit link; the handle is written with its colour codes.
constexpr std::string_view kAuthorLink =
    "<a href=\"mailto:crew@zefastats.example\">^4Zefa^7Stats ^1Crew";

void writeText(Page& page, std::string_view text) { EmitText(page.sink, text, false); }

// Local time of the page's clock. English month names and AM/PM whatever
// locale the program runs in, so the classic locale formats it.
void writeClock(const PageWriter& writer, Page& page, const char* format) {
    const std::optional<std::tm> local = localPageTime(writer.fixedTime());
    if (!local) return;
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << std::put_time(&*local, format);
    writeText(page, text.str());
}

void writeDate(const PageWriter& writer, Page& page) { writeClock(writer, page, "%b %d, %Y\n"); }
void writeTime(const PageWriter& writer, Page& page) { writeClock(writer, page, "%I:%M:%S %p\n"); }
void writeLineCount(const PageWriter& writer, Page& page) {
    EmitInt(page.sink, writer.lineCount());
}
void writeDuration(const PageWriter& writer, Page& page) {
    EmitDecimal(page.sink, static_cast<float>(writer.elapsedMs()) * 0.001F);
}

std::string_view winOrLoss(const MatchStats& stats) {
    const std::int32_t red = stats.teamScores[kRed];
    const std::int32_t blue = stats.teamScores[kBlue];
    if (red > blue) return " defeated ";
    return red == blue ? " tied " : " was defeated by ";
}

template <std::size_t Team>
void writeTeamName(const PageWriter&, Page& page) {
    EmitText(page.sink, kTeams[Team].displayText, true);
}

template <std::size_t Team>
void writeTeamScore(const PageWriter&, Page& page) {
    EmitInt(page.sink, page.stats.teamScores[Team]);
}

// A loop reads the theme on from the line after its tag.
template <void (*Expand)(Page&)>
void startLoop(const PageWriter&, Page& page) {
    Expand(page);
}

struct TopLevelTag {
    std::string_view tag;
    void (*write)(const PageWriter& writer, Page& page);
};

// In the order the lines are compared; each begins with kTagStart.
constexpr std::array kTopLevelTags = {
    TopLevelTag{"<= TITLE =>",
                [](const PageWriter&, Page& page) { writeText(page, "Zefa Stats"); }},
    TopLevelTag{"<= VERSION =>", [](const PageWriter&, Page& page) { writeText(page, "2.1.5"); }},
    TopLevelTag{"<= AUTHOR =>",
                [](const PageWriter&, Page& page) {
                    writeText(page, kAuthorLink);
                    writeText(page, "</a>");
                }},
    TopLevelTag{"<= DATE =>", writeDate},
    TopLevelTag{"<= TIME =>", writeTime},
    TopLevelTag{"<= TEAMNAME1 =>", writeTeamName<kRed>},
    TopLevelTag{"<= TEAMNAME2 =>", writeTeamName<kBlue>},
    TopLevelTag{"<= TEAMNAME3 =>", writeTeamName<kGreen>},
    TopLevelTag{"<= TEAMNAME4 =>", writeTeamName<kYellow>},
    TopLevelTag{"<= TEAMSCORE1 =>", writeTeamScore<kRed>},
    TopLevelTag{"<= TEAMSCORE2 =>", writeTeamScore<kBlue>},
    TopLevelTag{"<= TEAMSCORE3 =>", writeTeamScore<kGreen>},
    TopLevelTag{"<= TEAMSCORE4 =>", writeTeamScore<kYellow>},
    TopLevelTag{"<= WINORLOSS =>",
                [](const PageWriter&, Page& page) { writeText(page, winOrLoss(page.stats)); }},
    TopLevelTag{"<= NUMLINES =>", writeLineCount},
    TopLevelTag{"<= DURATION =>", writeDuration},
    TopLevelTag{"<= FLAGTOUCHLOOP =>", startLoop<ExpandFlagTouchLoop>},
    TopLevelTag{"<= FLAGCAPLOOP =>", startLoop<ExpandFlagCapLoop>},
    TopLevelTag{"<= PLAYERLOOP =>", startLoop<ExpandPlayerLoop>},
    TopLevelTag{"<= DEFENSESLOOP =>",
                [](const PageWriter&, Page& page) { ExpandDefensesLoop(page, nullptr); }},
    TopLevelTag{"<= MM1LOOP =>", startLoop<ExpandChatLoop>},
    TopLevelTag{"<= AWARDSLOOP =>", startLoop<ExpandAwardsLoop>},
};
static_assert(std::all_of(kTopLevelTags.begin(), kTopLevelTags.end(),
                          [](const TopLevelTag& t) { return t.tag.starts_with(kTagStart); }));

// A page whose file could not be created or completed is reported as such.
PageWriter::PageResult closePage(std::ofstream& out, PageWriter::PageResult result) {
    out.close();
    return out.fail() ? PageWriter::PageResult::OutputUnwritable : result;
}

}  // namespace

PageWriter::PageResult PageWriter::WritePage(MatchStats& stats, const AwardTable& awards,
                                             const std::filesystem::path& themePath,
                                             const std::filesystem::path& outputPath,
                                             const WeaponNames& weaponNames,
                                             std::error_code& themeError) const {
    std::ofstream out(outputPath, std::ios::binary | std::ios::trunc);
    const std::optional<std::string> theme = readThemeFile(themePath, themeError);
    const PageResult result =
        theme ? WritePage(stats, awards, *theme, out, weaponNames) : PageResult::ThemeUnreadable;
    return closePage(out, result);
}

PageWriter::PageResult PageWriter::WritePage(MatchStats& stats, const AwardTable& awards,
                                             std::string_view theme,
                                             const std::filesystem::path& outputPath,
                                             const WeaponNames& weaponNames) const {
    std::ofstream out(outputPath, std::ios::binary | std::ios::trunc);
    return closePage(out, WritePage(stats, awards, theme, out, weaponNames));
}

PageWriter::PageResult PageWriter::WritePage(MatchStats& stats, const AwardTable& awards,
                                             std::string_view theme, std::ostream& out,
                                             const WeaponNames& weaponNames) const {
    Page page{.expander = *this,
              .stats = stats,
              .awards = awards,
              .weaponNames = weaponNames,
              .theme = ThemeStream(theme, themeWorkBudget(stats.players.size())),
              .sink = PageSink(out, pageSizeLimit(stats.players.size()))};
    while (!page.theme.eof()) {
        std::string_view line = page.readLine();
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (!line.empty()) ExpandLine(page, line);
    }
    if (!page.sink.finish()) return PageResult::OutputUnwritable;
    return page.theme.exhausted() || page.sink.overflowed() ? PageResult::TooLarge
                                                            : PageResult::Written;
}

void PageWriter::ExpandLine(Page& page, std::string_view line) const {
    if (!line.starts_with(kTagStart)) {  // text, as most lines are
        EmitText(page.sink, line, false);
        return;
    }
    for (const TopLevelTag& tag : kTopLevelTags) {
        if (line == tag.tag) {
            tag.write(*this, page);
            return;
        }
    }
}

}  // namespace zefa
