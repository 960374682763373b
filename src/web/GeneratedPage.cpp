#include "web/GeneratedPage.h"

#include <sstream>
#include <string_view>

#include "generation/StatsGenerator.h"
#include "parser/LogText.h"
#include "report/JsonReport.h"

namespace zefa::web {

namespace {

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
    if (request.logText->empty()) return failure(std::string(kLogEmpty));
    if (!looksLikeText(*request.logText)) return failure(std::string(kLogNotText));
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
