#include <iostream>

#include "cli/CommandLine.h"
#include "cli/season/ImportWords.h"
#include "cli/season/StoreCommand.h"
#include "parser/match/MatchEngine.h"
#include "season/IsoTime.h"
#include "season/LogImport.h"

namespace zefa::cli {

namespace {

struct Tally {
    int stored = 0;
    int repeated = 0;
    int overlapping = 0;
    int failed = 0;
};

class ImportCommand final : public StoreCommand {
public:
    explicit ImportCommand(CLI::App& season)
        : StoreCommand(season, "import", "Stores each log's match once",
                       OpenMode::CreateIfMissing) {
        app().add_option("LOGS", m_logs, "Console logs")->required();
        app()
            .add_option("-g,--game-version", m_gameVersion, "1, 2 or auto")
            ->check(CLI::IsMember({"1", "2", "auto"}))
            ->capture_default_str();
        app()
            .add_option_function<std::string>(
                "--played-at",
                [this](const std::string& text) {
                    m_playedAt = season::parseIsoTime(text);
                    if (!m_playedAt)
                        throw CLI::ValidationError("--played-at",
                                                   "takes a time such as 2026-03-01T20:00:00Z");
                },
                "When the matches were played (ISO 8601; default: each log's modification time)")
            ->type_name("TIME");
        app().add_flag("--keep-overlap", m_keepOverlap,
                       "Also store a log that shares its game events with a stored match");
    }

private:
    int run(season::SeasonStore& store) override {
        Tally tally;
        ClassifierCache classifiers;  // compiled once for every log
        for (const std::string& path : m_logs) importLog(store, path, classifiers, tally);
        store.updateRatings();
        std::cout << m_logs.size() << " logs: " << tally.stored << " stored, " << tally.repeated
                  << " already stored, " << tally.overlapping << " recorded by another client, "
                  << tally.failed << " failed\n";
        return tally.failed > 0 ? kExitFailure : kExitOk;
    }

    // One log: read, then stored in a transaction of its own.
    void importLog(season::SeasonStore& store, const std::string& path,
                   ClassifierCache& classifiers, Tally& tally) const {
        using Outcome = season::ImportResult::Outcome;
        const std::optional<std::int32_t> version =
            m_gameVersion == "auto"
                ? std::nullopt
                : std::optional(m_gameVersion == "2" ? kGameVersionBeta2 : kGameVersionBeta1H);
        std::string reason;
        const auto result = season::importLogFile(store, path, {version, m_playedAt, m_keepOverlap},
                                                  classifiers, reason);
        if (!result) {
            ++tally.failed;
            seasonFailure("cannot import '" + path + "': " + reason);
            return;
        }
        std::cout << path << ": " << importWords(*result) << "\n";
        switch (result->outcome) {
            case Outcome::Stored:
                ++tally.stored;
                break;
            case Outcome::SameBytes:
                ++tally.repeated;
                break;
            case Outcome::SameMatch:
                ++tally.overlapping;
                break;
        }
    }

    std::vector<std::string> m_logs;
    std::string m_gameVersion = "auto";
    std::optional<std::int64_t> m_playedAt;
    bool m_keepOverlap = false;
};

}  // namespace

std::unique_ptr<StoreCommand> makeImportCommand(CLI::App& season) {
    return std::make_unique<ImportCommand>(season);
}

}  // namespace zefa::cli
