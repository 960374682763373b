#include "cli/season/StoreCommand.h"

#include <sched.h>

#include <iostream>

#include "cli/CommandLine.h"
#include "season/IsoTime.h"

namespace zefa::cli {

StoreCommand::StoreCommand(CLI::App& season, const std::string& name,
                           const std::string& description, OpenMode mode)
    : m_app(season.add_subcommand(name, description)), m_mode(mode) {
    m_app->add_option("DB", m_storePath, "Season store (an SQLite file)")->required();
}

int StoreCommand::execute() {
    if (const auto stop = prepare()) return *stop;
    try {
        season::SeasonStore store = season::SeasonStore::open(m_storePath, m_mode);
        return run(store);
    } catch (const season::SeasonError& error) {
        return seasonFailure(words(error));
    }
}

void StoreCommand::addJobsOption(unsigned& jobs, const std::string& what) {
    m_app->add_option("-j,--jobs", jobs, what + "; default: the cores this process may use")
        ->check(CLI::Range(1U, 256U));
}

unsigned StoreCommand::usableCores() {
    cpu_set_t cores;
    CPU_ZERO(&cores);
    if (::sched_getaffinity(0, sizeof cores, &cores) != 0) return 1;
    return static_cast<unsigned>(CPU_COUNT(&cores));
}

void StoreCommand::addSinceOption(std::optional<std::int64_t>& since) {
    m_app
        ->add_option_function<std::string>(
            "--since",
            [&since](const std::string& text) {
                since = season::parseIsoTime(text);
                if (!since)
                    throw CLI::ValidationError("--since", "takes a date such as 2026-03-01");
            },
            "Only matches played at or after this date (ISO 8601, UTC unless a zone is given), "
            "rated from them alone")
        ->type_name("DATE");
}

std::string StoreCommand::refusal(const season::SeasonError& error) const {
    return "cannot " + m_app->get_name() + ": " + error.reason();
}

std::string StoreCommand::words(const season::SeasonError& error) const {
    const std::string store = "season store '" + error.file().string() + "'";
    switch (error.kind()) {
        case season::SeasonError::Kind::Unusable:
            return "cannot open " + store + ": " + error.reason();
        case season::SeasonError::Kind::Refused:
            return refusal(error);
        case season::SeasonError::Kind::Failed:
            break;
    }
    return store + ": " + error.reason();
}

int seasonFailure(const std::string& message) {
    std::cerr << "zefastats: " << message << "\n";
    return kExitFailure;
}

}  // namespace zefa::cli
