#include <cstdio>
#include <iostream>

#include "cli/CommandLine.h"
#include "cli/season/StoreCommand.h"
#include "model/NameRules.h"

namespace zefa::cli {

namespace {

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

// Says how many players the leaderboard leaves out, and how to see them.
void printLeftOut(std::size_t leftOut, std::int32_t minMatches) {
    if (leftOut == 0) return;
    std::cout << leftOut << (leftOut == 1 ? " player" : " players") << " with fewer than "
              << minMatches << (minMatches == 1 ? " match" : " matches")
              << (leftOut == 1 ? " is" : " are")
              << " not shown (--min-matches 0 shows every one)\n";
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

class PlayersCommand final : public StoreCommand {
public:
    explicit PlayersCommand(CLI::App& season)
        : StoreCommand(season, "players", "Prints the leaderboard, best rating first",
                       OpenMode::ReadOnly) {
        app()
            .add_option("--min-matches", m_minMatches, "Players with fewer matches are left out")
            ->check(CLI::NonNegativeNumber)
            ->capture_default_str();
        addSinceOption(m_since);
        app().add_flag("--suggest", m_suggest,
                       "List likely aliases from the renames inside logs instead (merges nothing)");
    }

private:
    int run(season::SeasonStore& store) override {
        if (m_suggest) {
            printSuggestions(store.aliasSuggestions(), storePath());
        } else {
            auto rows = store.leaderboard(0, m_since);
            const auto leftOut = std::erase_if(rows, [this](const season::LeaderboardRow& row) {
                return row.matches < m_minMatches;
            });
            printLeaderboard(rows);
            printLeftOut(leftOut, m_minMatches);
        }
        return kExitOk;
    }

    std::int32_t m_minMatches = 5;
    std::optional<std::int64_t> m_since;
    bool m_suggest = false;
};

}  // namespace

std::unique_ptr<StoreCommand> makePlayersCommand(CLI::App& season) {
    return std::make_unique<PlayersCommand>(season);
}

}  // namespace zefa::cli
