#include "server/SqliteStore.h"

#include <sqlite3.h>

#include <limits>
#include <optional>
#include <utility>

namespace bd::server {

namespace {

// The schema, as steps from version to version. A database is brought from
// the version it has to the last one at start, in one transaction; a step is
// never changed once released, only followed by new ones.
struct TMigration {
  int Version;
  const char* Sql;
};

constexpr TMigration kMigrations[] = {
    {1, R"sql(
      CREATE TABLE scores (
        id INTEGER PRIMARY KEY,
        name TEXT NOT NULL,
        country TEXT NOT NULL,
        score INTEGER NOT NULL CHECK (score BETWEEN 0 AND 2147483647),
        stored_at INTEGER NOT NULL
      );
      -- The table page walks this index for its 100 rows.
      CREATE INDEX scores_rank ON scores (score DESC, stored_at ASC, id ASC);
      -- A token's id goes in here in the transaction that stores its report,
      -- so a second report with the same token finds it taken.
      CREATE TABLE used_tokens (
        id TEXT PRIMARY KEY,
        expires_at INTEGER NOT NULL
      ) WITHOUT ROWID;
      CREATE INDEX used_tokens_expiry ON used_tokens (expires_at);
      CREATE TABLE token_secret (
        id INTEGER PRIMARY KEY CHECK (id = 1),
        secret BLOB NOT NULL
      );
    )sql"},
    {2, R"sql(
      -- How far each score was checked; the scores stored before are the
      -- reports of games that sent no recording.
      ALTER TABLE scores ADD COLUMN check_state TEXT NOT NULL DEFAULT 'unchecked'
        CHECK (check_state IN ('unchecked', 'checked', 'checked-own-seed'));
      ALTER TABLE scores ADD COLUMN level INTEGER;
      ALTER TABLE scores ADD COLUMN rules_version INTEGER;
      ALTER TABLE scores ADD COLUMN daily_date TEXT;
      -- The day's race has a table of its own, walked by this index.
      CREATE INDEX scores_daily ON scores (daily_date, score DESC, stored_at ASC, id ASC)
        WHERE daily_date IS NOT NULL;
      -- The recordings of checked scores, apart from the scores so that the
      -- table's rows stay small and a recording is read only when asked for.
      CREATE TABLE recordings (
        score_id INTEGER PRIMARY KEY REFERENCES scores (id),
        bytes BLOB NOT NULL
      );
    )sql"},
};

std::string Message(sqlite3* db, std::string_view what) {
  return std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "out of memory");
}

void Exec(sqlite3* db, const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    std::string text = error ? error : sqlite3_errmsg(db);
    sqlite3_free(error);
    throw EStoreError(text);
  }
}

// One prepared statement, finalised when it goes out of scope.
class TStatement {
 public:
  TStatement(sqlite3* db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) throw EStoreError(Message(db, sql));
  }
  ~TStatement() { sqlite3_finalize(stmt_); }
  TStatement(const TStatement&) = delete;
  TStatement& operator=(const TStatement&) = delete;

  TStatement& Bind(int index, int64_t value) {
    Check(sqlite3_bind_int64(stmt_, index, value));
    return *this;
  }
  TStatement& Bind(int index, std::string_view text) {
    Check(sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT));
    return *this;
  }
  TStatement& BindNull(int index) {
    Check(sqlite3_bind_null(stmt_, index));
    return *this;
  }
  template <class T>
  TStatement& Bind(int index, const std::optional<T>& value) {
    return value ? Bind(index, *value) : BindNull(index);
  }
  TStatement& BindBlob(int index, std::string_view bytes) {
    Check(sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT));
    return *this;
  }

  // True while there is a row to read.
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throw EStoreError(Message(db_, "step"));
  }
  void Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }

  int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
  bool IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
  std::string Text(int column) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_blob(stmt_, column));
    return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
  }

 private:
  void Check(int rc) const {
    if (rc != SQLITE_OK) throw EStoreError(Message(db_, "bind"));
  }
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

// BEGIN IMMEDIATE … COMMIT, rolled back when left by an exception.
class TTransaction {
 public:
  explicit TTransaction(sqlite3* db) : db_(db) { Exec(db_, "BEGIN IMMEDIATE"); }
  ~TTransaction() {
    if (!done_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  TTransaction(const TTransaction&) = delete;
  TTransaction& operator=(const TTransaction&) = delete;
  void Commit() {
    Exec(db_, "COMMIT");
    done_ = true;
  }

 private:
  sqlite3* db_;
  bool done_ = false;
};

sqlite3* Open(const std::filesystem::path& path, bool create) {
  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    const std::string text = Message(db, "cannot open " + path.string());
    sqlite3_close(db);
    throw EStoreError(text);
  }
  sqlite3_extended_result_codes(db, 1);
  // Other connections (readers, or another server on the same file) hold
  // locks only briefly; wait for them rather than fail.
  sqlite3_busy_timeout(db, 5000);
  return db;
}

std::string RaceKey(std::string_view raceId) { return "race:" + std::string(raceId); }

int ReadSchemaVersion(sqlite3* db) {
  TStatement select(db, "SELECT version FROM schema_version");
  if (!select.Step()) return 0;
  const auto version = static_cast<int>(select.Int(0));
  if (select.Step()) throw EStoreError("the schema_version table holds more than one row");
  return version;
}

// Brings the database to the latest schema; returns the version it is at.
int Migrate(sqlite3* db) {
  TTransaction transaction(db);
  Exec(db, "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
  const int found = ReadSchemaVersion(db);
  const int latest = TSqliteStore::LatestSchemaVersion();
  if (found > latest)
    throw EStoreError("the database has schema version " + std::to_string(found) +
                      ", newer than this server's " + std::to_string(latest));
  for (const TMigration& m : kMigrations) {
    if (m.Version <= found) continue;
    Exec(db, m.Sql);
  }
  if (found != latest) {
    Exec(db, "DELETE FROM schema_version");
    TStatement(db, "INSERT INTO schema_version (version) VALUES (?1)").Bind(1, latest).Step();
  }
  transaction.Commit();
  return latest;
}

}  // namespace

int TSqliteStore::LatestSchemaVersion() { return std::end(kMigrations)[-1].Version; }

// A reader connection borrowed from the pool for one call.
class TSqliteStore::TReader {
 public:
  explicit TReader(TSqliteStore& store) : store_(store), db_(store.TakeReader()) {}
  ~TReader() { store_.ReturnReader(db_); }
  TReader(const TReader&) = delete;
  TReader& operator=(const TReader&) = delete;
  sqlite3* db() const { return db_; }

 private:
  TSqliteStore& store_;
  sqlite3* db_;
};

TSqliteStore::TSqliteStore(const std::filesystem::path& path) : path_(path) {
  writer_ = Open(path, true);
  try {
    // The write-ahead log lets readers go on while a batch is written; a
    // full sync makes each commit durable before any report is answered.
    {
      TStatement journal(writer_, "PRAGMA journal_mode=WAL");
      if (!journal.Step() || journal.Text(0) != "wal")
        throw EStoreError("cannot use a write-ahead log on " + path.string());
    }
    Exec(writer_, "PRAGMA synchronous=FULL");
    schemaVersion_ = Migrate(writer_);
  } catch (...) {
    sqlite3_close(writer_);
    throw;
  }
}

TSqliteStore::~TSqliteStore() {
  for (sqlite3* db : idleReaders_) sqlite3_close(db);
  sqlite3_close(writer_);
}

sqlite3* TSqliteStore::TakeReader() {
  {
    std::lock_guard lock(readersMutex_);
    if (!idleReaders_.empty()) {
      sqlite3* db = idleReaders_.back();
      idleReaders_.pop_back();
      return db;
    }
  }
  sqlite3* db = Open(path_, false);
  sqlite3_exec(db, "PRAGMA query_only=1", nullptr, nullptr, nullptr);
  return db;
}

void TSqliteStore::ReturnReader(sqlite3* db) {
  constexpr size_t kMaxIdleReaders = 8;
  {
    std::lock_guard lock(readersMutex_);
    if (idleReaders_.size() < kMaxIdleReaders) {
      idleReaders_.push_back(db);
      return;
    }
  }
  sqlite3_close(db);
}

int TSqliteStore::SchemaVersion() { return schemaVersion_; }

std::string TSqliteStore::TokenSecret(std::string_view candidate) {
  std::lock_guard lock(writeMutex_);
  TTransaction transaction(writer_);
  TStatement(writer_, "INSERT INTO token_secret (id, secret) VALUES (1, ?1) ON CONFLICT DO NOTHING")
      .BindBlob(1, candidate)
      .Step();
  std::string secret;
  {
    TStatement select(writer_, "SELECT secret FROM token_secret WHERE id = 1");
    if (!select.Step()) throw EStoreError("the token secret is missing");
    secret = select.Text(0);
  }
  transaction.Commit();
  return secret;
}

std::vector<TStoreOutcome> TSqliteStore::Store(std::span<const TNewScore> scores) {
  std::vector<TStoreOutcome> outcomes;
  outcomes.reserve(scores.size());
  std::lock_guard lock(writeMutex_);
  TTransaction transaction(writer_);
  TStatement useToken(writer_,
                      "INSERT INTO used_tokens (id, expires_at) VALUES (?1, ?2) ON CONFLICT DO NOTHING");
  TStatement insert(writer_,
                    "INSERT INTO scores (name, country, score, stored_at, check_state, level, rules_version, "
                    "daily_date) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
  TStatement insertRecording(writer_, "INSERT INTO recordings (score_id, bytes) VALUES (?1, ?2)");
  // A report whose race was stored before takes back its token's claim.
  TStatement freeToken(writer_, "DELETE FROM used_tokens WHERE id = ?1");
  for (const TNewScore& s : scores) {
    useToken.Bind(1, s.TokenId).Bind(2, s.TokenExpiresAtMs).Step();
    useToken.Reset();
    if (sqlite3_changes(writer_) == 0) {
      outcomes.push_back(TStoreOutcome::TokenUsed);
      continue;
    }
    if (!s.RaceId.empty()) {
      useToken.Bind(1, RaceKey(s.RaceId)).Bind(2, s.RaceExpiresAtMs).Step();
      useToken.Reset();
      if (sqlite3_changes(writer_) == 0) {
        freeToken.Bind(1, s.TokenId).Step();
        freeToken.Reset();
        outcomes.push_back(TStoreOutcome::RaceUsed);
        continue;
      }
    }
    insert.Bind(1, s.Name).Bind(2, s.Country).Bind(3, s.Score).Bind(4, s.StoredAtMs);
    insert.Bind(5, CheckStateName(s.Check))
        .Bind(6, s.Level)
        .Bind(7, s.RulesVersion)
        .Bind(8, s.DailyDate)
        .Step();
    insert.Reset();
    if (!s.Recording.empty()) {
      insertRecording.Bind(1, sqlite3_last_insert_rowid(writer_)).BindBlob(2, s.Recording).Step();
      insertRecording.Reset();
    }
    outcomes.push_back(TStoreOutcome::Stored);
  }
  transaction.Commit();
  return outcomes;
}

std::vector<TStoredScore> TSqliteStore::Best(size_t limit) {
  TReader reader(*this);
  TStatement select(reader.db(), kSqliteBestScoresQuery);
  select.Bind(1, static_cast<int64_t>(limit));
  std::vector<TStoredScore> rows;
  while (select.Step()) {
    TStoredScore row;
    row.Name = select.Text(0);
    row.Country = select.Text(1);
    row.Score = static_cast<int32_t>(select.Int(2));
    row.StoredAtMs = select.Int(3);
    row.Id = select.Int(4);
    row.Check = CheckStateFromName(select.Text(5));
    if (!select.IsNull(6)) row.Level = static_cast<int32_t>(select.Int(6));
    if (!select.IsNull(7)) row.RulesVersion = static_cast<int32_t>(select.Int(7));
    if (!select.IsNull(8)) row.DailyDate = select.Text(8);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::optional<std::string> TSqliteStore::Recording(int64_t scoreId) {
  TReader reader(*this);
  TStatement select(reader.db(), "SELECT bytes FROM recordings WHERE score_id = ?1");
  select.Bind(1, scoreId);
  if (!select.Step()) return std::nullopt;
  return select.Text(0);
}

size_t TSqliteStore::ForgetUsedTokens(int64_t beforeMs) {
  std::lock_guard lock(writeMutex_);
  TStatement(writer_, "DELETE FROM used_tokens WHERE expires_at < ?1").Bind(1, beforeMs).Step();
  return static_cast<size_t>(sqlite3_changes(writer_));
}

void TSqliteStore::Check() {
  TReader reader(*this);
  TStatement(reader.db(), "SELECT version FROM schema_version").Step();
}

}  // namespace bd::server
