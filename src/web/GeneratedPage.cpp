#include "web/GeneratedPage.h"

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

GeneratedPage generatePage(GenerationRequest request) {
    // Everything arrives in memory; what did not arrive reads as empty.
    if (!request.logText) request.logText.emplace();
    if (!request.themeText) request.themeText.emplace();
    if (request.logText->empty()) return failure("The log is empty.");
    if (!looksLikeText(*request.logText)) return failure("The log is not a text file.");
    if (!looksLikeText(*request.themeText)) return failure("The theme is not a text file.");

    StatsGenerator generator(std::move(request));
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
