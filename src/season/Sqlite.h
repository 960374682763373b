#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zefa::season {

// A failure of SQLite itself (disk full, a damaged file, a lock held too
// long): nothing the store can carry on from, so it unwinds to the command.
class SqliteError : public std::runtime_error {
public:
    SqliteError(int code, const std::string& message) : std::runtime_error(message), m_code(code) {}
    [[nodiscard]] int code() const { return m_code; }

private:
    int m_code;
};

// Prepared statements of a connection kept for the next prepare of the same
// SQL, reset: the store runs the same few statements for every log, and
// parsing them again would cost as much as running them.
class StatementCache {
public:
    using Idle = std::vector<sqlite3_stmt*>;

    StatementCache() = default;
    ~StatementCache();
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // The statements of this SQL not in use; they stay where they are while
    // the cache lives.
    [[nodiscard]] Idle& idle(std::string_view sql);

private:
    std::map<std::string, Idle, std::less<>> m_idle;
};

// One prepared statement; every value is bound as a parameter (1-based).
class Statement {
public:
    // Taken from `cache` when it holds one of this SQL, and given back to it.
    Statement(sqlite3* db, std::string_view sql, StatementCache& cache);

    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, std::int32_t value) { return bind(index, std::int64_t{value}); }
    // NULL when it holds no value.
    Statement& bind(int index, std::optional<std::int64_t> value);
    Statement& bind(int index, double value);
    Statement& bind(int index, std::string_view text);
    Statement& bindBlob(int index, std::span<const std::byte> bytes);
    // A blob of `size` zero bytes for Database::writeBlob() to fill: a large
    // blob so stored is copied once, straight into its pages.
    Statement& bindZeroBlob(int index, std::size_t size);
    // Binds each value to the next parameters, from 1 on.
    template <typename... Values>
    Statement& bindAll(const Values&... values) {
        int index = 0;
        (bind(++index, values), ...);
        return *this;
    }

    // True while a row is there to read.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    void reset();

    [[nodiscard]] std::int64_t integer(int column) const;
    [[nodiscard]] double real(int column) const;
    [[nodiscard]] std::string_view text(int column) const;
    [[nodiscard]] std::span<const std::byte> blob(int column) const;
    [[nodiscard]] bool isNull(int column) const;
    [[nodiscard]] int columns() const { return sqlite3_column_count(m_statement.get()); }

private:
    struct GiveBack {
        StatementCache::Idle* idle;
        void operator()(sqlite3_stmt* statement) const;
    };
    sqlite3* m_db;
    std::unique_ptr<sqlite3_stmt, GiveBack> m_statement;
};

// One connection to a database file, used by one thread at a time (a thread
// that needs the store at the same time opens a connection of its own): it is
// opened without SQLite's own locks, which every call would otherwise take.
class Database {
public:
    // Opens the file with SQLite's open flags; throws on failure.
    Database(const std::string& path, int flags);

    void exec(std::string_view sql);
    [[nodiscard]] Statement prepare(std::string_view sql) {
        return Statement(m_db.get(), sql, *m_statements);
    }
    // The single integer the query returns; nullopt when it returns no row.
    [[nodiscard]] std::optional<std::int64_t> queryInteger(std::string_view sql);
    [[nodiscard]] std::int64_t lastInsertId() const;
    // Writes `bytes` over the blob of that size in the column of the row.
    void writeBlob(const char* table, const char* column, std::int64_t rowId,
                   std::span<const std::byte> bytes);
    [[nodiscard]] bool readOnly() const;
    [[nodiscard]] sqlite3* handle() const { return m_db.get(); }

private:
    struct Closer {
        void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
    };
    std::unique_ptr<sqlite3, Closer> m_db;
    // After the connection: its statements go first. Where it is stays put
    // when the database moves.
    std::unique_ptr<StatementCache> m_statements = std::make_unique<StatementCache>();
};

// BEGIN on construction, ROLLBACK unless committed: every way out of a scope
// that did not commit leaves the store as it was. A writing transaction takes
// the write lock at once, so two writers wait for each other instead of failing.
// Inside another transaction it is a savepoint: rolled back alone, and
// committed with the one around it.
class Transaction {
public:
    enum class Kind { Write, Read };
    explicit Transaction(Database& db, Kind kind = Kind::Write);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& m_db;
    bool m_nested;
    bool m_open = true;
};

[[noreturn]] void throwSqliteError(sqlite3* db, int code);

}  // namespace zefa::season
