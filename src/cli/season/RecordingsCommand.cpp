#include <cstdio>

#include "cli/CommandLine.h"
#include "cli/season/StoreCommand.h"
#include "season/IsoTime.h"

namespace zefa::cli {

namespace {

class RecordingsCommand final : public StoreCommand {
public:
    explicit RecordingsCommand(CLI::App& season)
        : StoreCommand(season, "recordings", "Lists the logs that captured a match",
                       OpenMode::Existing) {
        app().add_option("MATCH", m_match, "The match's id")->required();
    }

private:
    int run(season::SeasonStore& store) override {
        const std::vector<season::RecordingInfo> recordings = store.recordings(m_match);
        std::printf("%-64s %7s  %-20s  %-12s  %s\n", "SHA-256", "EVENTS", "STORED AT", "SOURCE",
                    "FILE");
        for (const season::RecordingInfo& r : recordings) {
            std::printf("%-64s %7lld  %-20s  %-12s  %s\n", r.sha256.c_str(),
                        static_cast<long long>(r.events), season::formatUtc(r.storedAt).c_str(),
                        r.source.c_str(), r.file.c_str());
        }
        return kExitOk;
    }

    std::string refusal(const season::SeasonError& error) const override {
        return "cannot list the recordings of match " + std::to_string(m_match) + ": " +
               error.reason() + " in '" + storePath() + "'";
    }

    std::int64_t m_match = 0;
};

}  // namespace

std::unique_ptr<StoreCommand> makeRecordingsCommand(CLI::App& season) {
    return std::make_unique<RecordingsCommand>(season);
}

}  // namespace zefa::cli
