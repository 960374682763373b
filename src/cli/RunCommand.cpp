#include "cli/RunCommand.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>

#include "files/PendingFile.h"
#include "files/SourceDateEpoch.h"
#include "generation/StatsGenerator.h"
#include "parser/LogText.h"
#include "report/JsonReport.h"
#include "theme/ThemeFile.h"

namespace zefa {
extern const std::string_view kBuiltInTheme;
}

namespace zefa::cli {

namespace {

int fail(std::string_view what, const std::string& file, const std::string& reason) {
    std::cerr << "zefastats: cannot " << what << " '" << file << "': " << reason << "\n";
    return kExitFailure;
}

bool writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

// The first bytes of a log, which tell text from other files.
std::string logStart(const std::string& path) {
    std::string start(kTextSniffBytes, '\0');
    std::ifstream in(path, std::ios::binary);
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(in.gcount()));
    return start;
}

// The log, the theme, the message set, the awards and the clock the options
// and the environment ask for; the page file is added once it is prepared.
int makeRequest(const Options& options, GenerationRequest& request) {
    if (options.themeFile) {
        std::error_code error;
        auto theme = readThemeFile(*options.themeFile, error);
        if (!theme) return fail("read theme", *options.themeFile, error.message());
        request.themeText = std::move(*theme);
    } else {
        request.themeText = std::string(kBuiltInTheme);
    }
    request.gameVersion = options.gameVersion;
    request.awards = options.awards;
    if (!parseSourceDateEpoch(std::getenv("SOURCE_DATE_EPOCH"), request.fixedTime)) {
        std::cerr << "zefastats: SOURCE_DATE_EPOCH must be a whole number of seconds\n";
        return kExitUsage;
    }
    request.logFile = options.logFile;
    return kExitOk;
}

}  // namespace

int listAwards() {
    const AwardTable awards;
    for (std::int32_t i = 0; i < kAwardCount; ++i)
        std::cout << i << '\t' << awards.awardName(i) << '\n';
    return kExitOk;
}

int runCommand(const Options& options) {
    GenerationRequest request;
    if (const int status = makeRequest(options, request)) return status;

    // Both outputs are prepared first and committed last: a failure on the
    // way leaves every earlier file as it was.
    std::error_code error;
    const auto page = PendingFile::create(options.outputFile, error);
    if (!page) return fail("write page", options.outputFile, error.message());
    std::unique_ptr<PendingFile> json;
    if (options.jsonFile && !(json = PendingFile::create(*options.jsonFile, error)))
        return fail("write JSON", *options.jsonFile, error.message());
    request.outputFile = page->path();

    StatsGenerator generator(std::move(request));
    const RunResult result = generator.Run();
    if (!result.logRead) return fail("read log", options.logFile, result.logError.message());
    if (result.page != PageWriter::PageResult::Written)
        return fail("write page", options.outputFile, result.pageProblem());
    if (json && !writeText(json->path(), jsonReport(generator.stats(), generator.awards(),
                                                    generator.gameVersion())))
        return fail("write JSON", *options.jsonFile, std::strerror(EIO));

    if ((error = page->commit())) return fail("write page", options.outputFile, error.message());
    if (json && (error = json->commit()))
        return fail("write JSON", *options.jsonFile, error.message());
    // The page without players is written all the same: batch runs and
    // scripts rely on it; only the reason is added.
    if (generator.stats().players.empty())
        std::cerr << "zefastats: no player found in '" << options.logFile << "': "
                  << whyNoPlayer(generator.stats().lineCount, logStart(options.logFile)) << "\n";
    return kExitOk;
}

}  // namespace zefa::cli
