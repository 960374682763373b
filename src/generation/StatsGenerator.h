#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "awards/AwardTable.h"
#include "generation/GenerationRequest.h"
#include "model/MatchStats.h"
#include "parser/LogInput.h"
#include "theme/PageWriter.h"

namespace zefa {

// What a generation run could not do. The page is written whatever happens;
// the caller decides what to report.
struct RunResult {
    bool logRead = false;
    std::error_code logError;    // why the log could not be read
    std::error_code themeError;  // why the theme file could not be read
    PageWriter::PageResult page = PageWriter::PageResult::Written;
    // With a fixed game version and compareVersions asked for: the other
    // message set recognises more kill, suicide and environment-death lines
    // of the log.
    bool otherVersionReadsBetter = false;

    [[nodiscard]] bool ok() const { return logRead && page == PageWriter::PageResult::Written; }
    // Why the page is not complete, in words; empty when it is.
    [[nodiscard]] std::string pageProblem() const;
};

// Everything one generation run needs: read the log, compute the awards,
// write the page. A generator is made for one request, run once and then
// only read.
class StatsGenerator {
public:
    explicit StatsGenerator(GenerationRequest request);

    RunResult Run();
    // The same run with the page written onto `page` instead of the output
    // file (a page held in memory); needs the theme as text.
    RunResult Run(std::ostream& page);
    // Reads the log and computes the awards, writing no page.
    RunResult runWithoutPage();

    [[nodiscard]] AwardTable& awards() { return m_awards; }
    [[nodiscard]] const MatchStats& stats() const { return m_stats; }
    [[nodiscard]] MatchStats& stats() { return m_stats; }
    // The message set used; after a run also for the automatic choice.
    [[nodiscard]] std::int32_t gameVersion() const { return m_gameVersion; }
    // The events under the message set used; empty unless recorded.
    [[nodiscard]] const MatchEvents& events() const { return m_events; }
    [[nodiscard]] MatchEvents& events() { return m_events; }

private:
    [[nodiscard]] std::vector<LogReadResult> parse(std::span<const LogTarget> targets) const;
    LogReadResult readLog(RunResult& result);
    // Reads the log and computes the awards: everything before the page.
    RunResult prepare();

    GenerationRequest m_request;
    AwardTable m_awards;
    MatchStats m_stats;
    std::int32_t m_gameVersion;
    MatchEvents m_events;
    PageWriter m_writer;
};

}  // namespace zefa
