#include "record/ArchiveState.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>

#include "files/PendingFile.h"

namespace zefa::record {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kStateVersion = 1;

Json toJson(const ArchiveState& state) {
    Json logs = Json::array();
    for (const FollowedLog& log : state.logs)
        logs.push_back({{"log", log.log}, {"spool", log.spool}, {"imported", log.imported}});
    return {{"version", kStateVersion},
            {"logs", logs},
            {"toImport", state.toImport},
            {"toSend", state.toSend}};
}

// Throws Json::exception where a field is missing or of another type.
ArchiveState fromJson(const Json& json) {
    ArchiveState state;
    for (const Json& log : json.at("logs"))
        state.logs.push_back({log.at("log").get<std::string>(), log.at("spool").get<std::string>(),
                              log.at("imported").get<std::uint64_t>()});
    state.toImport = json.at("toImport").get<std::vector<std::string>>();
    // A recorder that never sent wrote no outbox.
    state.toSend = json.value("toSend", std::vector<std::string>{});
    return state;
}

}  // namespace

std::optional<ArchiveState> loadArchiveState(const std::filesystem::path& path,
                                             std::string& whyNot) {
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error) return ArchiveState{};
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        whyNot = error ? error.message() : std::string(std::strerror(errno));
        return std::nullopt;
    }
    // The file is written by this class alone; anything else in it means the
    // archive was changed by hand, and guessing could lose or repeat a session.
    const Json json = Json::parse(in, nullptr, false);
    if (!json.is_object() || json.find("version") == json.end() ||
        json.at("version") != kStateVersion) {
        whyNot = json.is_object() ? "written by another version of zefastats"
                                  : "not a recorder's state";
        return std::nullopt;
    }
    try {
        return fromJson(json);
    } catch (const Json::exception& failure) {
        whyNot = std::string("not a recorder's state: ") + failure.what();
        return std::nullopt;
    }
}

std::error_code saveArchiveState(const std::filesystem::path& path, const ArchiveState& state) {
    std::error_code error;
    const auto pending = PendingFile::create(path.string(), error);
    if (!pending) return error;
    {
        std::ofstream out(pending->path(), std::ios::binary | std::ios::trunc);
        out << toJson(state).dump(2) << "\n";
        out.flush();
        if (!out) return {errno ? errno : EIO, std::generic_category()};
    }
    return pending->commit();
}

}  // namespace zefa::record
