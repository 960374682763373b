#include "web/PageRequest.h"

#include <sstream>
#include <string_view>

#include "generation/StatsGenerator.h"
#include "report/JsonReport.h"

namespace zefa::web {

namespace {

// A console log is text in a one-byte character set; a zero byte near the
// start means a picture, an archive or a program was picked. Zero bytes
// further on are left to the reader: a log cut short by a crash may end in them.
bool looksLikeText(std::string_view bytes) {
    constexpr std::size_t kSniffed = 4096;
    return bytes.substr(0, kSniffed).find('\0') == std::string_view::npos;
}

GeneratedPage failure(std::string error) {
    GeneratedPage result;
    result.error = std::move(error);
    return result;
}

}  // namespace

GeneratedPage generatePage(PageRequest request) {
    if (request.log.empty()) return failure("The log is empty.");
    if (!looksLikeText(request.log)) return failure("The log is not a text file.");
    if (!looksLikeText(request.theme)) return failure("The theme is not a text file.");

    StatsGenerator generator;
    generator.SetLogText(std::move(request.log));
    generator.SetThemeText(std::move(request.theme));
    if (request.gameVersion == 0) {
        generator.SetAutoGameVersion();
    } else {
        generator.SetGameVersion(request.gameVersion);
    }
    generator.SetAwardSelection(request.awards);
    generator.SetFixedTime(request.clock);

    std::ostringstream page;
    const RunResult run = generator.Run(page);
    if (!run.ok()) return failure("Cannot write the page: " + run.pageProblem() + ".");
    return GeneratedPage{
        .error = {},
        .page = std::move(page).str(),
        .json = jsonReport(generator.stats(), generator.awards(), generator.gameVersion()),
        .gameVersion = generator.gameVersion(),
    };
}

}  // namespace zefa::web
