#include <cstdio>

#include "cli/CommandLine.h"
#include "cli/season/StoreCommand.h"
#include "season/IsoTime.h"

namespace zefa::cli {

namespace {

class MatchesCommand final : public StoreCommand {
public:
    explicit MatchesCommand(CLI::App& season)
        : StoreCommand(season, "matches",
                       "Lists the stored matches with their ids, in played order",
                       OpenMode::ReadOnly) {
        addSinceOption(m_since);
    }

private:
    int run(season::SeasonStore& store) override {
        std::printf("%6s  %-20s %7s %10s  %s\n", "ID", "PLAYED AT", "PLAYERS", "RECORDINGS",
                    "FILE");
        for (const season::MatchSummary& match : store.matches(m_since)) {
            std::printf("%6lld  %-20s %7d %10d  %s\n", static_cast<long long>(match.id),
                        season::formatUtc(match.playedAt).c_str(), match.players, match.recordings,
                        match.file.c_str());
        }
        return kExitOk;
    }

    std::optional<std::int64_t> m_since;
};

}  // namespace

std::unique_ptr<StoreCommand> makeMatchesCommand(CLI::App& season) {
    return std::make_unique<MatchesCommand>(season);
}

}  // namespace zefa::cli
