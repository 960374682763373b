#include "season/SeasonStore.h"

#include <type_traits>

#include "season/SqliteSeasonStore.h"

namespace zefa::season {

SeasonStore SeasonStore::open(const std::filesystem::path& path, OpenMode mode) {
    return SeasonStore(SqliteSeasonStore::open(path, mode));
}

SeasonStore SeasonStore::reader() const { return open(m_sqlite->file(), OpenMode::ReadOnly); }

SeasonStore::SeasonStore(std::unique_ptr<SqliteSeasonStore> sqlite) : m_sqlite(std::move(sqlite)) {}
SeasonStore::SeasonStore(SeasonStore&&) noexcept = default;
SeasonStore& SeasonStore::operator=(SeasonStore&&) noexcept = default;
SeasonStore::~SeasonStore() = default;

template <typename Work>
decltype(auto) SeasonStore::guarded(Work&& work) {
    try {
        if constexpr (std::is_void_v<decltype(work(*m_sqlite))>) {
            work(*m_sqlite);
            m_sqlite->confirmUnchanged();
        } else {
            auto result = work(*m_sqlite);
            m_sqlite->confirmUnchanged();
            return result;
        }
    } catch (const SqliteError& failure) {
        throw SeasonError(SeasonError::Kind::Failed, m_sqlite->file(), failure.what());
    }
}

ImportResult SeasonStore::importMatch(const MatchReading& match, std::string_view file,
                                      std::int64_t playedAt, bool keepOverlap,
                                      std::string_view source) {
    return guarded([&](SqliteSeasonStore& store) {
        return store.importMatch(match, file, playedAt, keepOverlap, source);
    });
}

void SeasonStore::beginImports() {
    guarded([](SqliteSeasonStore& store) { store.beginImports(); });
}

void SeasonStore::commitImports() {
    guarded([](SqliteSeasonStore& store) { store.commitImports(); });
}

void SeasonStore::checkpointApart() {
    guarded([](SqliteSeasonStore& store) { store.checkpointApart(); });
}

void SeasonStore::updateRatings() {
    guarded([](SqliteSeasonStore& store) { store.updateRatings(); });
}

std::int64_t SeasonStore::readSeason(SeasonSink& sink, std::optional<std::int64_t> since) {
    return guarded([&](SqliteSeasonStore& store) { return store.readSeason(sink, since); });
}

std::optional<SeasonChanges> SeasonStore::readChanges(std::int64_t since, std::size_t limit) {
    return guarded([=](SqliteSeasonStore& store) { return store.readChanges(since, limit); });
}

SeasonSnapshot SeasonStore::snapshot(std::optional<std::int64_t> since) {
    return guarded([since](SqliteSeasonStore& store) { return store.snapshot(since); });
}

StoredLog SeasonStore::matchLog(std::int64_t matchId) {
    return guarded([matchId](SqliteSeasonStore& store) { return store.matchLog(matchId); });
}

std::vector<RecordingInfo> SeasonStore::recordings(std::int64_t matchId) {
    return guarded([matchId](SqliteSeasonStore& store) { return store.recordings(matchId); });
}

std::vector<LeaderboardRow> SeasonStore::leaderboard(std::int32_t minMatches,
                                                     std::optional<std::int64_t> since) {
    return guarded([=](SqliteSeasonStore& store) { return store.leaderboard(minMatches, since); });
}

std::vector<AliasSuggestion> SeasonStore::aliasSuggestions() {
    return guarded([](SqliteSeasonStore& store) { return store.aliasSuggestions(); });
}

std::int64_t SeasonStore::changeSequence() {
    return guarded([](SqliteSeasonStore& store) { return store.changeSequence(); });
}

std::vector<MatchSummary> SeasonStore::matches(std::optional<std::int64_t> since) {
    return guarded([since](SqliteSeasonStore& store) { return store.matches(since); });
}

void SeasonStore::merge(std::string_view alias, std::string_view into) {
    guarded([=](SqliteSeasonStore& store) { store.merge(alias, into); });
}

void SeasonStore::unmerge(std::string_view alias) {
    guarded([alias](SqliteSeasonStore& store) { store.unmerge(alias); });
}

std::string SeasonStore::rename(std::string_view player, std::string_view name) {
    return guarded([=](SqliteSeasonStore& store) { return store.rename(player, name); });
}

MatchSummary SeasonStore::forget(std::int64_t matchId) {
    return guarded([matchId](SqliteSeasonStore& store) { return store.forget(matchId); });
}

RecordingForgotten SeasonStore::forgetRecording(std::string_view sha256) {
    return guarded([sha256](SqliteSeasonStore& store) { return store.forgetRecording(sha256); });
}

void SeasonStore::addToken(std::string_view label, std::string_view hash) {
    guarded([=](SqliteSeasonStore& store) { store.addToken(label, hash); });
}

std::vector<TokenInfo> SeasonStore::tokens() {
    return guarded([](SqliteSeasonStore& store) { return store.tokens(); });
}

void SeasonStore::revokeToken(std::string_view label) {
    guarded([label](SqliteSeasonStore& store) { store.revokeToken(label); });
}

std::optional<TokenInfo> SeasonStore::findToken(std::string_view hash) {
    return guarded([hash](SqliteSeasonStore& store) { return store.findToken(hash); });
}

void SeasonStore::noteUpload(std::string_view label, std::int64_t at) {
    guarded([=](SqliteSeasonStore& store) { store.noteUpload(label, at); });
}

}  // namespace zefa::season
