#include "season/Sqlite.h"

namespace zefa::season {

void throwSqliteError(sqlite3* db, int code) {
    const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    throw SqliteError(code, message);
}

namespace {

void check(sqlite3* db, int code) {
    if (code != SQLITE_OK) throwSqliteError(db, code);
}

}  // namespace

StatementCache::~StatementCache() {
    for (const auto& [sql, statements] : m_idle)
        for (sqlite3_stmt* statement : statements) sqlite3_finalize(statement);
}

StatementCache::Idle& StatementCache::idle(std::string_view sql) {
    const auto found = m_idle.find(sql);
    return found != m_idle.end() ? found->second : m_idle[std::string(sql)];
}

void Statement::GiveBack::operator()(sqlite3_stmt* statement) const {
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    idle->push_back(statement);
}

Statement::Statement(sqlite3* db, std::string_view sql, StatementCache& cache)
    : m_db(db), m_statement(nullptr, GiveBack{&cache.idle(sql)}) {
    StatementCache::Idle& idle = *m_statement.get_deleter().idle;
    sqlite3_stmt* statement = nullptr;
    if (idle.empty()) {
        check(db, sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement,
                                     nullptr));
    } else {
        statement = idle.back();
        idle.pop_back();
    }
    m_statement.reset(statement);
}

Statement& Statement::bind(int index, std::int64_t value) {
    check(m_db, sqlite3_bind_int64(m_statement.get(), index, value));
    return *this;
}

Statement& Statement::bind(int index, std::optional<std::int64_t> value) {
    if (value) return bind(index, *value);
    check(m_db, sqlite3_bind_null(m_statement.get(), index));
    return *this;
}

Statement& Statement::bind(int index, double value) {
    check(m_db, sqlite3_bind_double(m_statement.get(), index, value));
    return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
    check(m_db, sqlite3_bind_text64(m_statement.get(), index, text.data(), text.size(),
                                    SQLITE_TRANSIENT, SQLITE_UTF8));
    return *this;
}

Statement& Statement::bindZeroBlob(int index, std::size_t size) {
    check(m_db, sqlite3_bind_zeroblob64(m_statement.get(), index, size));
    return *this;
}

Statement& Statement::bindBlob(int index, std::span<const std::byte> bytes) {
    // A zero-length blob with a null pointer would bind NULL.
    static constexpr std::byte kNothing{};
    check(m_db,
          sqlite3_bind_blob64(m_statement.get(), index, bytes.empty() ? &kNothing : bytes.data(),
                              bytes.size(), SQLITE_TRANSIENT));
    return *this;
}

bool Statement::step() {
    const int code = sqlite3_step(m_statement.get());
    if (code == SQLITE_ROW) return true;
    if (code == SQLITE_DONE) return false;
    throwSqliteError(m_db, code);
}

void Statement::run() {
    while (step()) {
    }
    reset();
}

void Statement::reset() {
    sqlite3_reset(m_statement.get());
    sqlite3_clear_bindings(m_statement.get());
}

std::int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(m_statement.get(), column);
}

double Statement::real(int column) const {
    return sqlite3_column_double(m_statement.get(), column);
}

std::string_view Statement::text(int column) const {
    const auto* text = sqlite3_column_text(m_statement.get(), column);
    const int size = sqlite3_column_bytes(m_statement.get(), column);
    return text ? std::string_view(reinterpret_cast<const char*>(text),
                                   static_cast<std::size_t>(size))
                : std::string_view();
}

std::span<const std::byte> Statement::blob(int column) const {
    const auto* data =
        static_cast<const std::byte*>(sqlite3_column_blob(m_statement.get(), column));
    const int size = sqlite3_column_bytes(m_statement.get(), column);
    return data ? std::span(data, static_cast<std::size_t>(size)) : std::span<const std::byte>();
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(m_statement.get(), column) == SQLITE_NULL;
}

Database::Database(const std::string& path, int flags) {
    sqlite3* db = nullptr;
    const int code = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    m_db.reset(db);
    if (code != SQLITE_OK) throwSqliteError(db, code);
    sqlite3_extended_result_codes(db, 1);
}

void Database::exec(std::string_view sql) {
    check(m_db.get(),
          sqlite3_exec(m_db.get(), std::string(sql).c_str(), nullptr, nullptr, nullptr));
}

std::optional<std::int64_t> Database::queryInteger(std::string_view sql) {
    Statement statement = prepare(sql);
    if (!statement.step()) return std::nullopt;
    return statement.integer(0);
}

std::int64_t Database::lastInsertId() const { return sqlite3_last_insert_rowid(m_db.get()); }

void Database::writeBlob(const char* table, const char* column, std::int64_t rowId,
                         std::span<const std::byte> bytes) {
    sqlite3_blob* opened = nullptr;
    check(m_db.get(), sqlite3_blob_open(m_db.get(), "main", table, column, rowId, 1, &opened));
    const std::unique_ptr<sqlite3_blob, decltype(&sqlite3_blob_close)> blob(opened,
                                                                            &sqlite3_blob_close);
    if (bytes.size() > static_cast<std::size_t>(sqlite3_blob_bytes(opened)))
        throwSqliteError(nullptr, SQLITE_TOOBIG);
    check(m_db.get(), sqlite3_blob_write(opened, bytes.data(), static_cast<int>(bytes.size()), 0));
}

bool Database::readOnly() const { return sqlite3_db_readonly(m_db.get(), "main") == 1; }

Transaction::Transaction(Database& db, Kind kind)
    : m_db(db), m_nested(sqlite3_get_autocommit(db.handle()) == 0) {
    m_db.exec(m_nested ? "SAVEPOINT nested" : kind == Kind::Write ? "BEGIN IMMEDIATE" : "BEGIN");
}

Transaction::~Transaction() {
    if (!m_open) return;
    sqlite3_exec(m_db.handle(), m_nested ? "ROLLBACK TO nested; RELEASE nested" : "ROLLBACK",
                 nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    m_db.exec(m_nested ? "RELEASE nested" : "COMMIT");
    m_open = false;
}

}  // namespace zefa::season
