#pragma once
// The scores in a PostgreSQL database, shared by any number of servers. The
// schema is the SQLite store's, in PostgreSQL's words; a token's id is
// recorded in the transaction that stores its report, under a unique key,
// so that a token is good for one report across every server on the
// database.
//
// The database may go away and come back (a restart, a fail-over): a call
// that cannot reach it throws EStoreError within the connection and
// statement time limits, and the next call connects afresh. Nothing here
// waits or retries on its own.

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "server/ScoreStore.h"

namespace bd::server {

// The query behind Best(): an index walk, never a sort of the whole table.
inline constexpr const char* kPostgresBestScoresQuery =
    "SELECT name, country, score, stored_at, id, check_state, level, rules_version, daily_date FROM scores "
    "ORDER BY score DESC, stored_at ASC, id ASC LIMIT $1";

// Whether `database` (the --database argument) names a PostgreSQL database
// ("postgresql://…" or "postgres://…") rather than an SQLite file.
bool IsPostgresAddress(const std::string& database);

// `address` without its password, for the log.
std::string PostgresAddressForLog(const std::string& address);

class TPostgresStore final : public IScoreStore {
 public:
  struct TLimits {
    // How long connecting may take (libpq's connect_timeout, whole seconds).
    int ConnectSeconds = 2;
    // The longest one statement may run, a lock wait included.
    std::chrono::milliseconds Statement{4000};
    // The most connections open at once; a call that finds them all busy
    // waits for one, as long as a statement may run.
    size_t MaxConnections = 16;
  };

  static int LatestSchemaVersion();

  // Connects to `address` (a libpq connection URI) and runs the migrations
  // the database lacks in one transaction; servers starting together take
  // turns. Throws EStoreError when the database cannot be reached, or is
  // newer than this server.
  explicit TPostgresStore(std::string address);
  TPostgresStore(std::string address, TLimits limits);
  ~TPostgresStore() override;
  TPostgresStore(const TPostgresStore&) = delete;
  TPostgresStore& operator=(const TPostgresStore&) = delete;

  int SchemaVersion() override;
  std::string TokenSecret(std::string_view candidate) override;
  std::vector<TStoreOutcome> Store(std::span<const TNewScore> scores) override;
  std::vector<TStoredScore> Best(size_t limit) override;
  std::optional<std::string> Recording(int64_t scoreId) override;
  size_t ForgetUsedTokens(int64_t beforeMs) override;
  void Check() override;

 private:
  struct TConnection;  // one connection to the database
  class TLease;
  template <class F>
  auto WithConnection(F&& call);
  template <class F>
  auto ReadWithConnection(F&& call);
  void DropIdle();
  std::unique_ptr<TConnection> Connect();
  std::unique_ptr<TConnection> Take();
  void Return(std::unique_ptr<TConnection> connection);
  void Discard();  // a connection taken was dropped

  std::string conninfo_;
  TLimits limits_;
  int schemaVersion_ = 0;
  std::mutex idleMutex_;
  std::condition_variable freed_;
  size_t open_ = 0;  // idle or taken
  std::vector<std::unique_ptr<TConnection>> idle_;
};

}  // namespace bd::server
