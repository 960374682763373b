#include "cli/RecordCommand.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/season/ImportWords.h"
#include "record/Recorder.h"
#include "season/LogImport.h"
#include "upload/SpoolUpload.h"
#include "upload/TokenFile.h"

namespace zefa::cli {

namespace {

namespace fs = std::filesystem;
using Kind = record::ImportOutcome::Kind;

// $XDG_DATA_HOME/zefastats/recordings, XDG_DATA_HOME being ~/.local/share
// when it is not set (or not absolute); empty without a home.
fs::path defaultArchive() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    fs::path base;
    if (data && fs::path(data).is_absolute())
        base = data;
    else if (home && *home)
        base = fs::path(home) / ".local/share";
    return base.empty() ? base : base / "zefastats/recordings";
}

// One spool into the season, as `season import` stores a log. The spool is
// the recorder's own file, so what keeps it out of the season for good is
// what is in it; a store that cannot be used now is tried again later.
record::ImportOutcome importSpool(const std::string& store, const fs::path& spool) {
    try {
        season::SeasonStore season =
            season::SeasonStore::open(store, season::SeasonStore::OpenMode::CreateIfMissing);
        ClassifierCache classifiers;
        std::string whyNot;
        const auto result = season::importLogFile(season, spool, {}, classifiers, whyNot);
        if (!result) return {Kind::Refused, whyNot};
        season.updateRatings();
        return {Kind::Imported, importWords(*result)};
    } catch (const season::SeasonError& error) {
        return {Kind::Failed, error.what()};
    }
}

// The token is read here, before the recorder starts, so that a file it
// cannot use stops it at once; it goes to the sending child in memory only.
std::optional<upload::UploadTarget> uploadTarget(const std::string& server,
                                                 const fs::path& tokenFile) {
    std::string whyNot;
    auto token = upload::readTokenFile(tokenFile, whyNot);
    if (!token) {
        std::cerr << "zefastats record: cannot use the token file '" << tokenFile.string()
                  << "': " << whyNot << "\n";
        return std::nullopt;
    }
    return upload::UploadTarget{server, std::move(*token)};
}

std::chrono::milliseconds milliseconds(double seconds) {
    return std::chrono::milliseconds(std::max(1LL, std::llround(seconds * 1000.0)));
}

}  // namespace

int runRecordCommand(int argc, const char* const* argv) {
    CLI::App app{"Copies console logs into an archive as the game writes them, one spool file per "
                 "session, imports each session into a season and sends it to a server.",
                 "zefastats record"};
    std::vector<std::string> logs;
    std::optional<std::string> store;
    fs::path archive = defaultArchive();
    double quietMinutes = 10;
    std::optional<double> pollSeconds;
    std::optional<std::string> server;
    fs::path tokenFile;
    app.add_option("LOGS", logs, "Console logs to follow")->required();
    app.add_option("--season", store, "Season store each session is imported into")
        ->type_name("DB");
    app.add_option("--archive", archive, "Folder of the spools and the recorder's state")
        ->type_name("DIR")
        ->default_str("$XDG_DATA_HOME/zefastats/recordings");
    app.add_option("--quiet", quietMinutes,
                   "A log that has not grown this long is imported as it stands (decimals allowed)")
        ->type_name("MINUTES")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    app.add_option("--poll", pollSeconds,
                   "Look at the logs this often instead of waiting for inotify (for network "
                   "shares and other file systems that do not report changes)")
        ->type_name("SECONDS")
        ->check(CLI::PositiveNumber);
    const auto send =
        app.add_option("--send", server,
                       "Server each session is sent to when it ends (its season's address, "
                       "http:// or https://)")
            ->type_name("URL")
            ->check([](const std::string& url) {
                return url.starts_with("http://") || url.starts_with("https://")
                           ? std::string()
                           : std::string("the server's address begins with http:// or https://");
            });
    app.add_option("--token-file", tokenFile,
                   "File holding the token the server knows you by, readable by you alone")
        ->type_name("FILE")
        ->needs(send);
    send->needs("--token-file");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? kExitOk : kExitUsage;
    }
    if (archive.empty()) {
        std::cerr << "zefastats record: there is no home folder: give --archive DIR\n";
        return kExitUsage;
    }

    record::RecorderOptions options;
    options.logs.assign(logs.begin(), logs.end());
    options.archive = archive;
    options.quiet = milliseconds(quietMinutes * 60);
    if (pollSeconds) options.poll = milliseconds(*pollSeconds);
    if (store) {
        options.import = [store = *store](const fs::path& spool) { return importSpool(store, spool); };
        std::cout << "importing each session into " << *store
                  << " when it ends and when its log has been quiet for " << quietMinutes
                  << " minutes" << std::endl;
    }
    if (server) {
        auto target = uploadTarget(*server, tokenFile);
        if (!target) return kExitFailure;
        options.send = [target = std::move(*target)](const fs::path& spool) {
            return upload::uploadSpool(target, spool);
        };
        std::cout << "sending each session to " << *server << " when it ends" << std::endl;
    }
    return record::runRecorder(options, std::cout, std::cerr) ? kExitOk : kExitFailure;
}

}  // namespace zefa::cli
