#include <cstdlib>
#include <iostream>

#include "awards/SourceDateEpoch.h"
#include "cli/season/SeasonSubcommand.h"
#include "site/SiteFromStore.h"
#include "theme/ThemeFile.h"

namespace zefa {
extern const std::string_view kBuiltInTheme;
}

namespace zefa::cli {

namespace {

struct SiteCommandOptions {
    std::string store;
    std::string folder;
    std::optional<std::int64_t> since;
    std::int32_t minMatches = 5;
    std::string title = "Season";
    std::optional<std::string> theme;
    std::array<bool, kAwardCount> awards{};
};

int runSite(const SiteCommandOptions& options) {
    site::SiteOptions pages;
    pages.look = {options.title, options.minMatches};
    pages.builtInTheme = std::string(kBuiltInTheme);
    pages.matchTheme = pages.builtInTheme;
    pages.awards = options.awards;
    if (options.theme) {
        std::error_code error;
        auto theme = readThemeFile(*options.theme, error);
        if (!theme) return seasonFailure("cannot read theme '" + *options.theme + "': " + error.message());
        pages.matchTheme = std::move(*theme);
    }
    if (!parseSourceDateEpoch(std::getenv("SOURCE_DATE_EPOCH"), pages.clock)) {
        std::cerr << "zefastats: SOURCE_DATE_EPOCH must be a whole number of seconds\n";
        return kExitUsage;
    }

    const auto store = openSeasonStore(options.store, season::SeasonStore::OpenMode::Existing);
    if (!store) return kExitFailure;
    const site::SiteReport report =
        site::updateSiteFromStore(*store, options.folder, pages, options.since);
    for (const std::string& problem : report.problems) seasonFailure(problem);
    if (report.written + report.kept == 0 && !report.ok()) return kExitFailure;
    std::cout << report.written << " pages written, " << report.kept << " kept, " << report.removed
              << " removed: " << (std::filesystem::path(options.folder) / "index.html").string()
              << "\n";
    return report.ok() ? kExitOk : kExitFailure;
}

}  // namespace

SeasonSubcommand addSiteCommand(CLI::App& season) {
    auto options = std::make_shared<SiteCommandOptions>();
    options->awards.fill(true);
    CLI::App* app = season.add_subcommand("site", "Writes the season's web pages into a folder");
    addStoreArgument(*app, options->store);
    app->add_option("-o,--output", options->folder, "Folder of the site; made when missing")
        ->required();
    addSinceOption(*app, options->since);
    app->add_option("--min-matches", options->minMatches,
                    "Players with fewer matches are left off the leaderboard")
        ->check(CLI::NonNegativeNumber);
    app->add_option("--title", options->title, "Title of the season's pages");
    app->add_option("-t,--theme", options->theme, "Theme of the match pages (default: built-in)");
    app->add_option_function<std::string>(
           "-a,--awards",
           [options](const std::string& list) {
               const auto chosen = parseAwardList(list);
               if (!chosen)
                   throw CLI::ValidationError("--awards", "takes all, none or indexes 0-17 separated by commas");
               options->awards = *chosen;
           },
           "Awards on the match pages: all, none, or comma-separated indexes 0-17")
        ->type_name("LIST");
    return {app, [options] { return runSite(*options); }, &options->store};
}

}  // namespace zefa::cli
