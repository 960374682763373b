#include <iostream>

#include "cli/CommandLine.h"
#include "cli/season/ImportWords.h"
#include "cli/season/StoreCommand.h"
#include "parser/match/MatchEngine.h"
#include "season/ImportPlan.h"
#include "season/IsoTime.h"
#include "season/LogImport.h"

namespace zefa::cli {

namespace {

struct Tally {
    int stored = 0;
    int repeated = 0;
    int recordings = 0;
    int empty = 0;
    int failed = 0;
};

class ImportCommand final : public StoreCommand {
public:
    explicit ImportCommand(CLI::App& season)
        : StoreCommand(season, "import",
                       "Stores each log once: a new match, or a recording of a stored one",
                       OpenMode::CreateIfMissing) {
        app().add_option("LOGS", m_arguments, "Console logs, or folders of them")->required();
        app()
            .add_option("-g,--game-version", m_gameVersion, "1, 2 or auto")
            ->check(CLI::IsMember({"1", "2", "auto"}))
            ->capture_default_str();
        app()
            .add_option_function<std::vector<std::string>>(
                "--played-at",
                [this](const std::vector<std::string>& texts) {
                    for (const std::string& text : texts) {
                        std::string whyNot;
                        if (!season::addPlayedAt(m_times, text, whyNot))
                            throw CLI::ValidationError("--played-at", whyNot);
                    }
                },
                "When the matches were played (ISO 8601): TIME for every log, FILE@TIME for "
                "one (the time follows the last '@'); default: each log's modification time")
            ->type_name("[FILE@]TIME")
            ->allow_extra_args(false);  // one value each time, the logs may follow
        app().add_flag("--keep-overlap", m_keepOverlap,
                       "Store a log that shares game events with a stored match as a match of "
                       "its own");
        addJobsOption(m_jobs, "Logs read at once, while one thread stores them in order");
    }

private:
    // The logs and their times, before the store is opened.
    std::optional<int> prepare() override {
        m_plan = season::planImport(m_arguments, m_times);
        if (!m_plan.usageError.empty()) {
            std::cerr << "zefastats: " << m_plan.usageError << "\n";
            return kExitUsage;
        }
        if (const auto shared = season::sharedModificationTime(m_plan.logs)) {
            std::cerr << "zefastats: note: " << shared->logs << " of " << shared->of
                      << " logs were last modified at " << season::formatUtc(shared->time)
                      << ", as a copy or a checkout leaves files, and their matches count as "
                         "played then: give each log its time with --played-at FILE@TIME\n";
        }
        return std::nullopt;
    }

    int run(season::SeasonStore& store) override {
        Tally tally;
        for (const std::string& folder : m_plan.unreadableFolders) {
            ++tally.failed;
            seasonFailure("cannot import " + folder);
        }
        const std::optional<std::int32_t> version =
            m_gameVersion == "auto"
                ? std::nullopt
                : std::optional(m_gameVersion == "2" ? kGameVersionBeta2 : kGameVersionBeta1H);
        season::importLogFiles(store, m_plan.logs, {version, std::nullopt, m_keepOverlap},
                               m_jobs ? m_jobs : usableCores(),
                               [&](std::size_t log, const season::LogOutcome& outcome) {
                                   report(m_plan.logs[log], outcome, tally);
                               });
        store.updateRatings();
        std::cout << m_plan.logs.size() << " logs: " << tally.stored << " stored, "
                  << tally.repeated << " already stored, " << tally.recordings
                  << " recordings of stored matches, " << tally.empty << " empty, "
                  << tally.failed << " failed\n";
        return tally.failed > 0 ? kExitFailure : kExitOk;
    }

    // One log, once the store holds it (or why not).
    static void report(const season::PlannedLog& log, const season::LogOutcome& outcome,
                       Tally& tally) {
        using Outcome = season::ImportResult::Outcome;
        const std::string path = log.path.string();
        if (log.empty) {
            // The game empties its log when it starts: nothing went wrong.
            ++tally.empty;
            std::cout << path << ": empty, skipped\n";
            return;
        }
        if (!outcome.result) {
            ++tally.failed;
            seasonFailure("cannot import '" + path + "': " + outcome.whyNot);
            return;
        }
        std::cout << path << ": " << importWords(*outcome.result) << "\n";
        switch (outcome.result->outcome) {
            case Outcome::Stored:
                ++tally.stored;
                break;
            case Outcome::SameBytes:
                ++tally.repeated;
                break;
            case Outcome::SameMatch:
                ++tally.recordings;
                break;
        }
    }

    std::vector<std::string> m_arguments;
    std::string m_gameVersion = "auto";
    season::PlayedAtTimes m_times;
    bool m_keepOverlap = false;
    unsigned m_jobs = 0;  // 0: every core this process may use
    season::ImportPlan m_plan;
};

}  // namespace

std::unique_ptr<StoreCommand> makeImportCommand(CLI::App& season) {
    return std::make_unique<ImportCommand>(season);
}

}  // namespace zefa::cli
