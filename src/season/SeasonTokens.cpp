// The season server's upload tokens: added, listed, revoked, found by hash.
#include <ctime>

#include "season/SqliteSeasonStore.h"
#include "season/UploadToken.h"

namespace zefa::season {

namespace {

constexpr std::string_view kTokenColumns = "label, createdAt, lastUsedAt, uploads, revokedAt";

std::optional<std::int64_t> optionalInteger(const Statement& row, int column) {
    if (row.isNull(column)) return std::nullopt;
    return row.integer(column);
}

TokenInfo tokenOf(const Statement& row) {
    return {std::string(row.text(0)), row.integer(1), optionalInteger(row, 2), row.integer(3),
            optionalInteger(row, 4)};
}

}  // namespace

void SqliteSeasonStore::addToken(std::string_view label, std::string_view hash) {
    if (const auto why = unfitTokenLabel(label)) refuse(*why);
    Transaction transaction(m_db);
    if (m_db.prepare("SELECT 1 FROM upload_token WHERE label = ?1").bind(1, label).step())
        refuse("there is a token '" + std::string(label) + "' already");
    m_db.prepare("INSERT INTO upload_token(label, hash, createdAt) VALUES (?1, ?2, ?3)")
        .bindAll(label, hash, static_cast<std::int64_t>(std::time(nullptr)))
        .run();
    transaction.commit();
}

std::vector<TokenInfo> SqliteSeasonStore::tokens() {
    Statement query =
        m_db.prepare("SELECT " + std::string(kTokenColumns) + " FROM upload_token ORDER BY label");
    std::vector<TokenInfo> tokens;
    while (query.step()) tokens.push_back(tokenOf(query));
    return tokens;
}

void SqliteSeasonStore::revokeToken(std::string_view label) {
    Transaction transaction(m_db);
    Statement token = m_db.prepare("SELECT revokedAt FROM upload_token WHERE label = ?1");
    if (!token.bind(1, label).step()) refuse("there is no token '" + std::string(label) + "'");
    if (!token.isNull(0)) refuse("the token '" + std::string(label) + "' is revoked already");
    token.reset();
    m_db.prepare("UPDATE upload_token SET revokedAt = ?2 WHERE label = ?1")
        .bindAll(label, static_cast<std::int64_t>(std::time(nullptr)))
        .run();
    transaction.commit();
}

std::optional<TokenInfo> SqliteSeasonStore::findToken(std::string_view hash) {
    Statement query = m_db.prepare("SELECT " + std::string(kTokenColumns) +
                                   " FROM upload_token WHERE hash = ?1");
    if (!query.bind(1, hash).step()) return std::nullopt;
    return tokenOf(query);
}

void SqliteSeasonStore::noteUpload(std::string_view label, std::int64_t at) {
    m_db.prepare(
            "UPDATE upload_token SET uploads = uploads + 1, lastUsedAt = max(coalesce(lastUsedAt, "
            "?2), ?2) WHERE label = ?1")
        .bindAll(label, at)
        .run();
}

}  // namespace zefa::season
