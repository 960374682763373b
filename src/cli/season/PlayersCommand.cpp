#include <cstdio>
#include <iostream>

#include "cli/season/SeasonSubcommand.h"
#include "model/NameRules.h"

namespace zefa::cli {

namespace {

struct PlayersOptions {
    std::string store;
    std::int32_t minMatches = 5;
    std::optional<std::int64_t> since;
    bool suggest = false;
};

void printLeaderboard(const std::vector<season::LeaderboardRow>& rows) {
    std::printf("%4s  %-24s %7s %7s %6s %7s %6s %6s %5s %6s %6s\n", "#", "PLAYER", "RATING", "MU",
                "SIGMA", "MATCHES", "KILLS", "DEATHS", "CAPS", "RANK", "AWARDS");
    int place = 0;
    for (const auto& row : rows) {
        std::printf("%4d  %-24s %7.2f %7.2f %6.2f %7d %6lld %6lld %5lld %6lld %6d\n", ++place,
                    stripColourCodes(row.name).c_str(), row.rating.ordinal(), row.rating.mu,
                    row.rating.sigma, row.matches, static_cast<long long>(row.kills),
                    static_cast<long long>(row.deaths), static_cast<long long>(row.caps),
                    static_cast<long long>(row.rank), row.awardsWon);
    }
}

void printSuggestions(const std::vector<season::AliasSuggestion>& suggestions,
                      const std::string& store) {
    if (suggestions.empty()) std::cout << "No renames between players the season tells apart.\n";
    for (const auto& s : suggestions) {
        std::cout << "'" << s.from << "' and '" << s.to << "': renamed " << s.renames
                  << (s.renames == 1 ? " time" : " times") << " in " << s.matches
                  << (s.matches == 1 ? " match" : " matches") << ": zefastats season merge '"
                  << store << "' '" << s.from << "' '" << s.to << "'\n";
    }
}

int runPlayers(const PlayersOptions& options) {
    const auto store = openSeasonStore(options.store, season::SeasonStore::OpenMode::Existing);
    if (!store) return kExitFailure;
    if (options.suggest) {
        printSuggestions(store->aliasSuggestions(), options.store);
    } else {
        printLeaderboard(store->leaderboard(options.minMatches, options.since));
    }
    return kExitOk;
}

}  // namespace

SeasonSubcommand addPlayersCommand(CLI::App& season) {
    auto options = std::make_shared<PlayersOptions>();
    CLI::App* app = season.add_subcommand("players", "Prints the leaderboard, best rating first");
    addStoreArgument(*app, options->store);
    app->add_option("--min-matches", options->minMatches, "Players with fewer matches are left out")
        ->check(CLI::NonNegativeNumber)
        ->capture_default_str();
    addSinceOption(*app, options->since);
    app->add_flag("--suggest", options->suggest,
                  "List likely aliases from the renames inside logs instead (merges nothing)");
    return {app, [options] { return runPlayers(*options); }, &options->store};
}

}  // namespace zefa::cli
