#include <iostream>

#include "cli/season/SeasonSubcommand.h"

namespace zefa::cli {

namespace {

struct MergeOptions {
    std::string store;
    std::string alias;
    std::string into;
};

int runMerge(const MergeOptions& options) {
    const auto store = openSeasonStore(options.store, season::SeasonStore::OpenMode::Existing);
    if (!store) return kExitFailure;
    if (const std::string refused = store->merge(options.alias, options.into); !refused.empty())
        return seasonFailure("cannot merge: " + refused);
    std::cout << "'" << options.alias << "' now counts for '" << options.into << "'\n";
    return kExitOk;
}

}  // namespace

SeasonSubcommand addMergeCommand(CLI::App& season) {
    auto options = std::make_shared<MergeOptions>();
    CLI::App* app = season.add_subcommand(
        "merge", "Counts every match of ALIAS, also those stored later, for INTO");
    addStoreArgument(*app, options->store);
    app->add_option("ALIAS", options->alias, "A player's key or name")->required();
    app->add_option("INTO", options->into, "The player's key or name to count for")->required();
    return {app, [options] { return runMerge(*options); }, &options->store};
}

}  // namespace zefa::cli
