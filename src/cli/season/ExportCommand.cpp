#include <cerrno>
#include <cstring>
#include <fstream>

#include "files/PendingFile.h"
#include "cli/CommandLine.h"
#include "cli/season/StoreCommand.h"
#include "season/SeasonJson.h"

namespace zefa::cli {

namespace {

class ExportCommand final : public StoreCommand {
public:
    explicit ExportCommand(CLI::App& season)
        : StoreCommand(season, "export", "Writes every match and player as JSON",
                       OpenMode::ReadOnly) {
        app().add_option("--json", m_json, "JSON file to write; - is standard output")->required();
        addSinceOption(m_since);
    }

private:
    int run(season::SeasonStore& store) override {
        // Written under a temporary name and renamed when complete, as pages
        // are; match by match as the store reads them.
        std::error_code error;
        const auto pending = PendingFile::create(m_json, error);
        if (!pending) return cannotWrite(error.message());
        std::ofstream out(pending->path(), std::ios::binary);
        season::SeasonJsonSink json(out);
        store.readSeason(json, m_since);
        json.finish();
        out.close();
        if (!out) return cannotWrite(std::strerror(EIO));
        if ((error = pending->commit())) return cannotWrite(error.message());
        return kExitOk;
    }

    int cannotWrite(const std::string& reason) const {
        return seasonFailure("cannot write JSON '" + m_json + "': " + reason);
    }

    std::string m_json;
    std::optional<std::int64_t> m_since;
};

}  // namespace

std::unique_ptr<StoreCommand> makeExportCommand(CLI::App& season) {
    return std::make_unique<ExportCommand>(season);
}

}  // namespace zefa::cli
