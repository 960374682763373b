#include <iostream>

#include "cli/CommandLine.h"
#include "cli/season/StoreCommand.h"
#include "season/IsoTime.h"

namespace zefa::cli {

namespace {

class ForgetCommand final : public StoreCommand {
public:
    explicit ForgetCommand(CLI::App& season)
        : StoreCommand(season, "forget", "Removes a match, or one recording, stored by mistake",
                       OpenMode::Existing) {
        CLI::Option* match =
            app().add_option("MATCH", m_match, "The match's id, with all its recordings");
        app()
            .add_option("--recording", m_recording,
                        "Only this recording (its SHA-256 or the beginning of it, as `recordings` "
                        "lists it); the match is read again from the others")
            ->type_name("SHA")
            ->excludes(match);
    }

private:
    std::optional<int> prepare() override {
        if (m_match || m_recording) return std::nullopt;
        std::cerr << "zefastats: season forget takes a MATCH or --recording SHA\n";
        return kExitUsage;
    }

    int run(season::SeasonStore& store) override {
        if (m_match) {
            const season::MatchSummary forgotten = store.forget(*m_match);
            std::cout << "match " << *m_match << " forgotten: " << forgotten.file << ", played "
                      << season::formatUtc(forgotten.playedAt) << "\n";
            return kExitOk;
        }
        const season::RecordingForgotten left = store.forgetRecording(*m_recording);
        std::cout << "recording " << *m_recording << " forgotten; match " << left.matchId;
        if (left.recordingsLeft == 0) {
            std::cout << " had no other and is gone\n";
            return kExitOk;
        }
        std::cout << " is read again from " << left.recordingsLeft
                  << (left.recordingsLeft == 1 ? " recording" : " recordings");
        for (const std::int64_t split : left.splitOff)
            std::cout << "; match " << split << " holds recordings that share no events with it";
        std::cout << "\n";
        return kExitOk;
    }

    // The store it was looked for in is named: the id is typed by hand.
    std::string refusal(const season::SeasonError& error) const override {
        const std::string what =
            m_match ? "match " + std::to_string(*m_match) : "recording " + *m_recording;
        return "cannot forget " + what + ": " + error.reason() + " in '" + storePath() + "'";
    }

    std::optional<std::int64_t> m_match;
    std::optional<std::string> m_recording;
};

}  // namespace

std::unique_ptr<StoreCommand> makeForgetCommand(CLI::App& season) {
    return std::make_unique<ForgetCommand>(season);
}

}  // namespace zefa::cli
