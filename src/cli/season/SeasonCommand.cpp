#include "cli/season/SeasonCommand.h"

#include <array>
#include <memory>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/season/StoreCommand.h"

namespace zefa::cli {

namespace {

using MakeSubcommand = std::unique_ptr<StoreCommand> (*)(CLI::App&);

// The subcommands in the order --help lists them.
constexpr std::array<MakeSubcommand, 11> kSubcommands = {
    &makeImportCommand,  &makePlayersCommand, &makeMatchesCommand,    &makeMergeCommand,
    &makeUnmergeCommand, &makeRenameCommand,  &makeForgetCommand,     &makeRecordingsCommand,
    &makeExportCommand,  &makeSiteCommand,    &makeServeCommand,
};

}  // namespace

int runSeasonCommand(int argc, const char* const* argv) {
    CLI::App app{"Keeps every match of many console logs in one season store.", "zefastats season"};
    app.require_subcommand(1);
    std::vector<std::unique_ptr<StoreCommand>> subcommands;
    for (const MakeSubcommand make : kSubcommands) subcommands.push_back(make(app));
    for (auto& token : makeTokenCommands(app)) subcommands.push_back(std::move(token));
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? kExitOk : kExitUsage;
    }
    for (const auto& subcommand : subcommands)
        if (subcommand->chosen()) return subcommand->execute();
    return kExitUsage;
}

}  // namespace zefa::cli
