#include "cli/season/SeasonCommand.h"

#include <array>
#include <iostream>

#include "cli/CommandLine.h"
#include "cli/season/SeasonSubcommand.h"
#include "season/IsoTime.h"

namespace zefa::cli {

namespace {

using AddSubcommand = SeasonSubcommand (*)(CLI::App&);

// The subcommands in the order --help lists them.
constexpr std::array<AddSubcommand, 7> kSubcommands = {
    &addImportCommand, &addPlayersCommand, &addMergeCommand,
    &addUnmergeCommand, &addForgetCommand, &addExportCommand,
    &addSiteCommand,
};

}  // namespace

std::unique_ptr<season::SeasonStore> openSeasonStore(const std::string& path,
                                                     season::SeasonStore::OpenMode mode) {
    std::string error;
    auto store = season::SeasonStore::open(path, mode, error);
    if (!store) seasonFailure("cannot open season store '" + path + "': " + error);
    return store;
}

int seasonFailure(const std::string& message) {
    std::cerr << "zefastats: " << message << "\n";
    return kExitFailure;
}

void addStoreArgument(CLI::App& app, std::string& path) {
    app.add_option("DB", path, "Season store (an SQLite file)")->required();
}

void addSinceOption(CLI::App& app, std::optional<std::int64_t>& since) {
    app.add_option_function<std::string>(
           "--since",
           [&since](const std::string& text) {
               since = season::parseIsoTime(text);
               if (!since) throw CLI::ValidationError("--since", "takes a date such as 2026-03-01");
           },
           "Only matches played at or after this date (ISO 8601, UTC unless a zone is given)")
        ->type_name("DATE");
}

int runSeasonCommand(int argc, const char* const* argv) {
    CLI::App app{"Keeps every match of many console logs in one season store.", "zefastats season"};
    app.require_subcommand(1);
    std::vector<SeasonSubcommand> subcommands;
    for (const AddSubcommand add : kSubcommands) subcommands.push_back(add(app));
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? kExitOk : kExitUsage;
    }
    for (const SeasonSubcommand& sub : subcommands) {
        if (!sub.app->parsed()) continue;
        try {
            return sub.run();
        } catch (const season::SqliteError& error) {
            return seasonFailure("season store '" + *sub.storePath + "': " + error.what());
        }
    }
    return kExitUsage;
}

}  // namespace zefa::cli
