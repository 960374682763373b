#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

#include "cli/season/SeasonSubcommand.h"
#include "files/PendingFile.h"
#include "season/SeasonJson.h"

namespace zefa::cli {

namespace {

struct ExportOptions {
    std::string store;
    std::string json;
    std::optional<std::int64_t> since;
};

int runExport(const ExportOptions& options) {
    const auto store = openSeasonStore(options.store, season::SeasonStore::OpenMode::Existing);
    if (!store) return kExitFailure;
    const season::SeasonSnapshot snapshot = store->snapshot(options.since);
    // Written under a temporary name and renamed when complete, as pages are.
    std::error_code error;
    const auto pending = PendingFile::create(options.json, error);
    if (!pending)
        return seasonFailure("cannot write JSON '" + options.json + "': " + error.message());
    std::ofstream out(pending->path(), std::ios::binary);
    season::writeSeasonJson(out, snapshot);
    out.close();
    if (!out)
        return seasonFailure("cannot write JSON '" + options.json + "': " + std::strerror(EIO));
    if ((error = pending->commit()))
        return seasonFailure("cannot write JSON '" + options.json + "': " + error.message());
    return kExitOk;
}

}  // namespace

SeasonSubcommand addExportCommand(CLI::App& season) {
    auto options = std::make_shared<ExportOptions>();
    CLI::App* app = season.add_subcommand("export", "Writes every match and player as JSON");
    addStoreArgument(*app, options->store);
    app->add_option("--json", options->json, "JSON file to write; - is standard output")
        ->required();
    addSinceOption(*app, options->since);
    return {app, [options] { return runExport(*options); }, &options->store};
}

}  // namespace zefa::cli
