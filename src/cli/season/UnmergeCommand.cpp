#include <iostream>

#include "cli/season/SeasonSubcommand.h"

namespace zefa::cli {

namespace {

struct UnmergeOptions {
    std::string store;
    std::string alias;
};

int runUnmerge(const UnmergeOptions& options) {
    const auto store = openSeasonStore(options.store, season::SeasonStore::OpenMode::Existing);
    if (!store) return kExitFailure;
    if (const std::string refused = store->unmerge(options.alias); !refused.empty())
        return seasonFailure("cannot unmerge: " + refused);
    std::cout << "'" << options.alias << "' is a player of its own again\n";
    return kExitOk;
}

}  // namespace

SeasonSubcommand addUnmergeCommand(CLI::App& season) {
    auto options = std::make_shared<UnmergeOptions>();
    CLI::App* app = season.add_subcommand("unmerge", "Undoes the merge of ALIAS");
    addStoreArgument(*app, options->store);
    app->add_option("ALIAS", options->alias, "A merged player's key or name")->required();
    return {app, [options] { return runUnmerge(*options); }, &options->store};
}

}  // namespace zefa::cli
