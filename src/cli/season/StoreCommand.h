#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "season/SeasonStore.h"

namespace zefa::cli {

// A `zefastats season` subcommand. Its command line begins with the store
// (DB), which is opened once, in the mode the subcommand needs, and handed to
// run(); every season::SeasonError, from opening or from the work, is worded
// here as one line on standard error, and the exit status is 1.
class StoreCommand {
public:
    using OpenMode = season::SeasonStore::OpenMode;

    StoreCommand(CLI::App& season, const std::string& name, const std::string& description,
                 OpenMode mode);
    virtual ~StoreCommand() = default;
    StoreCommand(const StoreCommand&) = delete;
    StoreCommand& operator=(const StoreCommand&) = delete;

    // Whether the command line names this subcommand.
    [[nodiscard]] bool chosen() const { return m_app->parsed(); }
    // Opens the store and runs the subcommand; the exit status.
    [[nodiscard]] int execute();

protected:
    [[nodiscard]] CLI::App& app() { return *m_app; }
    [[nodiscard]] const std::string& storePath() const { return m_storePath; }
    // Adds `--since DATE`; the parsed time lands in `since`.
    void addSinceOption(std::optional<std::int64_t>& since);
    // Adds `-j N`, how many threads the work runs on, described as `what`
    // (1 to 256); unset leaves `jobs` 0.
    void addJobsOption(unsigned& jobs, const std::string& what);
    // The cores this process may run on: the threads `-j` gives by default.
    [[nodiscard]] static unsigned usableCores();

    // What the subcommand checks before the store is opened: an exit status
    // to end with, or nothing to go on.
    [[nodiscard]] virtual std::optional<int> prepare() { return std::nullopt; }
    // The subcommand's work on the open store; the exit status.
    [[nodiscard]] virtual int run(season::SeasonStore& store) = 0;
    // The line that says the store refused: "cannot NAME: REASON".
    [[nodiscard]] virtual std::string refusal(const season::SeasonError& error) const;

private:
    [[nodiscard]] std::string words(const season::SeasonError& error) const;

    CLI::App* m_app;
    OpenMode m_mode;
    std::string m_storePath;
};

// Prints "zefastats: MESSAGE" on standard error and returns exit status 1.
int seasonFailure(const std::string& message);

// The subcommands, one file each; SeasonCommand.cpp lists them.
std::unique_ptr<StoreCommand> makeImportCommand(CLI::App& season);
std::unique_ptr<StoreCommand> makePlayersCommand(CLI::App& season);
std::unique_ptr<StoreCommand> makeMatchesCommand(CLI::App& season);
std::unique_ptr<StoreCommand> makeMergeCommand(CLI::App& season);
std::unique_ptr<StoreCommand> makeUnmergeCommand(CLI::App& season);
std::unique_ptr<StoreCommand> makeRenameCommand(CLI::App& season);
std::unique_ptr<StoreCommand> makeForgetCommand(CLI::App& season);
std::unique_ptr<StoreCommand> makeRecordingsCommand(CLI::App& season);
std::unique_ptr<StoreCommand> makeExportCommand(CLI::App& season);
std::unique_ptr<StoreCommand> makeSiteCommand(CLI::App& season);
std::unique_ptr<StoreCommand> makeServeCommand(CLI::App& season);
// `season token add|list|revoke`.
std::vector<std::unique_ptr<StoreCommand>> makeTokenCommands(CLI::App& season);

}  // namespace zefa::cli
