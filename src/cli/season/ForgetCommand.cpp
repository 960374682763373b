#include <iostream>

#include "cli/CommandLine.h"
#include "cli/season/StoreCommand.h"
#include "season/IsoTime.h"

namespace zefa::cli {

namespace {

class ForgetCommand final : public StoreCommand {
public:
    explicit ForgetCommand(CLI::App& season)
        : StoreCommand(season, "forget", "Removes a match stored by mistake", OpenMode::Existing) {
        app().add_option("MATCH", m_match, "The match's id")->required();
    }

private:
    int run(season::SeasonStore& store) override {
        const season::MatchSummary forgotten = store.forget(m_match);
        std::cout << "match " << m_match << " forgotten: " << forgotten.file << ", played "
                  << season::formatUtc(forgotten.playedAt) << "\n";
        return kExitOk;
    }

    // The store it was looked for in is named: the id is typed by hand.
    std::string refusal(const season::SeasonError& error) const override {
        return "cannot forget match " + std::to_string(m_match) + ": " + error.reason() + " in '" +
               storePath() + "'";
    }

    std::int64_t m_match = 0;
};

}  // namespace

std::unique_ptr<StoreCommand> makeForgetCommand(CLI::App& season) {
    return std::make_unique<ForgetCommand>(season);
}

}  // namespace zefa::cli
