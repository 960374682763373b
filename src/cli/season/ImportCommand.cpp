#include <iostream>

#include "cli/season/SeasonSubcommand.h"
#include "parser/match/MatchEngine.h"
#include "season/IsoTime.h"
#include "season/LogImport.h"

namespace zefa::cli {

namespace {

struct ImportOptions {
    std::string store;
    std::vector<std::string> logs;
    std::string gameVersion = "auto";
    std::optional<std::int64_t> playedAt;
    bool keepOverlap = false;
};

struct Tally {
    int stored = 0;
    int repeated = 0;
    int overlapping = 0;
    int failed = 0;
};

// One log: read, then stored in a transaction of its own.
void importLog(season::SeasonStore& store, const ImportOptions& options, const std::string& path,
               ClassifierCache& classifiers, Tally& tally) {
    using Outcome = season::ImportResult::Outcome;
    const std::optional<std::int32_t> version =
        options.gameVersion == "auto" ? std::nullopt
                                      : std::optional(options.gameVersion == "2" ? kGameVersionBeta2
                                                                                 : kGameVersionBeta1H);
    std::string reason;
    const auto result =
        season::importLogFile(store, path, {version, options.playedAt, options.keepOverlap},
                              classifiers, reason);
    if (!result) {
        ++tally.failed;
        seasonFailure("cannot import '" + path + "': " + reason);
        return;
    }
    std::cout << path << ": ";
    switch (result->outcome) {
        case Outcome::Stored:
            ++tally.stored;
            std::cout << "stored as match " << result->matchId << "\n";
            break;
        case Outcome::SameBytes:
            ++tally.repeated;
            std::cout << "already stored as match " << result->matchId << "\n";
            break;
        case Outcome::SameMatch:
            ++tally.overlapping;
            std::cout << "the same match as " << result->matchId << ", recorded by another client\n";
            break;
    }
}

int runImport(const ImportOptions& options) {
    const auto store =
        openSeasonStore(options.store, season::SeasonStore::OpenMode::CreateIfMissing);
    if (!store) return kExitFailure;
    Tally tally;
    ClassifierCache classifiers;  // compiled once for every log
    for (const std::string& path : options.logs)
        importLog(*store, options, path, classifiers, tally);
    store->updateRatings();
    std::cout << options.logs.size() << " logs: " << tally.stored << " stored, " << tally.repeated
              << " already stored, " << tally.overlapping << " recorded by another client, "
              << tally.failed << " failed\n";
    return tally.failed > 0 ? kExitFailure : 0;
}

}  // namespace

SeasonSubcommand addImportCommand(CLI::App& season) {
    auto options = std::make_shared<ImportOptions>();
    CLI::App* app = season.add_subcommand("import", "Stores each log's match once");
    addStoreArgument(*app, options->store);
    app->add_option("LOGS", options->logs, "Console logs")->required();
    app->add_option("-g,--game-version", options->gameVersion, "1, 2 or auto")
        ->check(CLI::IsMember({"1", "2", "auto"}))
        ->capture_default_str();
    app->add_option_function<std::string>(
           "--played-at",
           [options](const std::string& text) {
               options->playedAt = season::parseIsoTime(text);
               if (!options->playedAt)
                   throw CLI::ValidationError("--played-at",
                                              "takes a time such as 2026-03-01T20:00:00Z");
           },
           "When the matches were played (ISO 8601; default: each log's modification time)")
        ->type_name("TIME");
    app->add_flag("--keep-overlap", options->keepOverlap,
                  "Also store a log that shares its game events with a stored match");
    return {app, [options] { return runImport(*options); }, &options->store};
}

}  // namespace zefa::cli
