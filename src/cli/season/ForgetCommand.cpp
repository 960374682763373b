#include <iostream>

#include "cli/season/SeasonSubcommand.h"

namespace zefa::cli {

namespace {

struct ForgetOptions {
    std::string store;
    std::int64_t match = 0;
};

int runForget(const ForgetOptions& options) {
    const auto store = openSeasonStore(options.store, season::SeasonStore::OpenMode::Existing);
    if (!store) return kExitFailure;
    if (!store->forget(options.match))
        return seasonFailure("cannot forget match " + std::to_string(options.match) +
                             ": no such match in '" + options.store + "'");
    std::cout << "match " << options.match << " forgotten\n";
    return kExitOk;
}

}  // namespace

SeasonSubcommand addForgetCommand(CLI::App& season) {
    auto options = std::make_shared<ForgetOptions>();
    CLI::App* app = season.add_subcommand("forget", "Removes a match stored by mistake");
    addStoreArgument(*app, options->store);
    app->add_option("MATCH", options->match, "The match's id")->required();
    return {app, [options] { return runForget(*options); }, &options->store};
}

}  // namespace zefa::cli
