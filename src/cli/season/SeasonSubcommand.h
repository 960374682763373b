#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "cli/CommandLine.h"
#include "season/SeasonStore.h"

namespace zefa::cli {

// One `zefastats season` subcommand: its CLI11 app and what runs it once
// the command line is parsed, returning the exit status.
struct SeasonSubcommand {
    CLI::App* app = nullptr;
    std::function<int()> run;
    const std::string* storePath = nullptr;  // named when the store fails
};

// Each subcommand adds itself to `season` (one file each, listed in SeasonCommand.cpp).
SeasonSubcommand addImportCommand(CLI::App& season);
SeasonSubcommand addPlayersCommand(CLI::App& season);
SeasonSubcommand addMergeCommand(CLI::App& season);
SeasonSubcommand addUnmergeCommand(CLI::App& season);
SeasonSubcommand addForgetCommand(CLI::App& season);
SeasonSubcommand addExportCommand(CLI::App& season);
SeasonSubcommand addSiteCommand(CLI::App& season);

// The store named on the command line, or null after a one-line message
// naming it and the reason on standard error.
std::unique_ptr<season::SeasonStore> openSeasonStore(const std::string& path,
                                                     season::SeasonStore::OpenMode mode);
// Prints "zefastats: MESSAGE" on standard error and returns exit status 1.
int seasonFailure(const std::string& message);
// Adds the positional DB argument every subcommand takes first.
void addStoreArgument(CLI::App& app, std::string& path);
// Adds `--since DATE`; the parsed time lands in `since`.
void addSinceOption(CLI::App& app, std::optional<std::int64_t>& since);

}  // namespace zefa::cli
