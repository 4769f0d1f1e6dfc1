// What every score store must do, written against the store interface and
// run for each kind of store; then what only the SQLite store, and only the
// PostgreSQL store, has to show.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <thread>

#include "PostgresProcess.h"
#include "ServerProcess.h"
#include "server/OpenStore.h"
#include "server/PostgresStore.h"
#include "server/SqliteStore.h"

namespace bd::server {
namespace {

using test::TScratchDir;

struct TStoreKind {
  std::string Name;
  // Opens (or reopens) the store that lives in `dir`.
  std::function<std::unique_ptr<IScoreStore>(const std::filesystem::path& dir)> Open;

  friend void PrintTo(const TStoreKind& kind, std::ostream* out) { *out << kind.Name; }
};

TNewScore Score(std::string name, int32_t score, int64_t storedAt, std::string token = "") {
  TNewScore s;
  s.Name = name;
  s.Country = "RU";
  s.Score = score;
  s.TokenId = token.empty() ? "token-of-" + name : token;
  s.TokenExpiresAtMs = 5000;
  s.StoredAtMs = storedAt;
  return s;
}

std::vector<std::string> Names(const std::vector<TStoredScore>& rows) {
  std::vector<std::string> names;
  for (const TStoredScore& r : rows) names.push_back(r.Name);
  return names;
}

class StoreBehaviour : public ::testing::TestWithParam<TStoreKind> {
 protected:
  std::unique_ptr<IScoreStore> Open() { return GetParam().Open(dir_.Path()); }
  TScratchDir dir_;
};

TEST_P(StoreBehaviour, AFreshStoreIsMigratedAndEmpty) {
  auto store = Open();
  EXPECT_GE(store->SchemaVersion(), 1);
  EXPECT_TRUE(store->Best(100).empty());
  EXPECT_NO_THROW(store->Check());
}

TEST_P(StoreBehaviour, ReopeningKeepsScoresAndTheSecret) {
  std::vector<TStoredScore> before;
  std::string secret;
  {
    auto store = Open();
    secret = store->TokenSecret("first secret");
    EXPECT_EQ(store->TokenSecret("second secret"), "first secret");
    store->Store(std::vector{Score("Вася", 10, 1000), Score("Bob", 20, 2000)});
    before = store->Best(100);
  }
  auto store = Open();
  EXPECT_EQ(store->Best(100), before);
  EXPECT_EQ(Names(before), (std::vector<std::string>{"Bob", "Вася"}));
  EXPECT_EQ(before[1].Country, "RU");
  EXPECT_EQ(before[1].StoredAtMs, 1000);
  EXPECT_EQ(store->TokenSecret("third secret"), secret);
}

TEST_P(StoreBehaviour, BestOrdersByScoreThenByTimeThenByArrival) {
  auto store = Open();
  // Stored one by one, in this order.
  store->Store(std::vector{Score("late", 50, 3000)});
  store->Store(std::vector{Score("early", 50, 1000)});
  store->Store(std::vector{Score("top", 90, 5000)});
  store->Store(std::vector{Score("sameTimeFirst", 50, 2000), Score("sameTimeSecond", 50, 2000)});
  store->Store(std::vector{Score("low", 0, 0)});
  EXPECT_EQ(Names(store->Best(100)),
            (std::vector<std::string>{"top", "early", "sameTimeFirst", "sameTimeSecond", "late", "low"}));
  EXPECT_EQ(Names(store->Best(2)), (std::vector<std::string>{"top", "early"}));
}

TEST_P(StoreBehaviour, ATokenStoresOnce) {
  auto store = Open();
  EXPECT_EQ(store->Store(std::vector{Score("a", 1, 1, "t1"), Score("b", 2, 1, "t1"), Score("c", 3, 1, "t2")}),
            (std::vector{TStoreOutcome::Stored, TStoreOutcome::TokenUsed, TStoreOutcome::Stored}));
  EXPECT_EQ(store->Store(std::vector{Score("d", 4, 2, "t2")}), std::vector{TStoreOutcome::TokenUsed});
  EXPECT_EQ(Names(store->Best(100)), (std::vector<std::string>{"c", "a"}));

  // From many threads at once, one of them wins.
  std::atomic<int> stored{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&, i] {
      auto outcomes = store->Store(std::vector{Score("r" + std::to_string(i), 5, 3, "shared")});
      if (outcomes[0] == TStoreOutcome::Stored) ++stored;
    });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(stored, 1);
}

TEST_P(StoreBehaviour, ExpiredUsedTokensAreForgottenAndNoOthers) {
  auto store = Open();
  TNewScore early = Score("early", 1, 1, "early-token");
  early.TokenExpiresAtMs = 1000;
  TNewScore late = Score("late", 1, 1, "late-token");
  late.TokenExpiresAtMs = 9000;
  store->Store(std::vector{early, late});
  EXPECT_EQ(store->ForgetUsedTokens(5000), 1u);
  EXPECT_EQ(store->ForgetUsedTokens(5000), 0u);
  // The scores stay; the late token is still known as used.
  EXPECT_EQ(store->Best(100).size(), 2u);
  EXPECT_EQ(store->Store(std::vector{Score("again", 1, 2, "late-token")}),
            std::vector{TStoreOutcome::TokenUsed});
}

TEST_P(StoreBehaviour, ACheckedScoreKeepsItsStateAndRecordingAndARaceIsStoredOnce) {
  auto store = Open();
  TNewScore checked = Score("Checked", 300, 1, "t1");
  checked.Check = TCheckState::Checked;
  checked.Level = 4;
  checked.RulesVersion = 7;
  checked.DailyDate = "2026-12-12";
  checked.Recording = std::string("\0rec\xff\x01", 6);
  checked.RaceId = "ticket:abc";
  checked.RaceExpiresAtMs = 5000;
  TNewScore own = Score("Own", 200, 2, "t2");
  own.Check = TCheckState::CheckedOwnSeed;
  own.Level = 2;
  own.RulesVersion = 7;
  own.Recording = "own race";
  own.RaceId = "own:def";
  own.RaceExpiresAtMs = INT64_MAX;
  TNewScore sameRace = Score("Again", 300, 3, "t3");
  sameRace.RaceId = "ticket:abc";
  sameRace.Recording = "again";
  EXPECT_EQ(store->Store(std::vector{checked, Score("Old", 100, 3, "t4"), own, sameRace}),
            (std::vector{TStoreOutcome::Stored, TStoreOutcome::Stored, TStoreOutcome::Stored,
                         TStoreOutcome::RaceUsed}));

  const auto rows = store->Best(100);
  ASSERT_EQ(Names(rows), (std::vector<std::string>{"Checked", "Own", "Old"}));
  EXPECT_EQ(rows[0].Check, TCheckState::Checked);
  EXPECT_EQ(rows[0].Level, 4);
  EXPECT_EQ(rows[0].RulesVersion, 7);
  EXPECT_EQ(rows[0].DailyDate, "2026-12-12");
  EXPECT_EQ(store->Recording(rows[0].Id), checked.Recording);
  EXPECT_EQ(rows[1].Check, TCheckState::CheckedOwnSeed);
  EXPECT_EQ(rows[1].DailyDate, std::nullopt);
  EXPECT_EQ(store->Recording(rows[1].Id), "own race");
  EXPECT_EQ(rows[2].Check, TCheckState::Unchecked);
  EXPECT_EQ(rows[2].Level, std::nullopt);
  EXPECT_EQ(rows[2].RulesVersion, std::nullopt);
  EXPECT_EQ(store->Recording(rows[2].Id), std::nullopt);

  // The refused report's token was not used up; the race stays used.
  TNewScore retry = Score("Retry", 1, 4, "t3");
  EXPECT_EQ(store->Store(std::vector{retry}), std::vector{TStoreOutcome::Stored});
  own.TokenId = "t5";
  EXPECT_EQ(store->Store(std::vector{own}), std::vector{TStoreOutcome::RaceUsed});
}

test::TPostgresServer& Postgres() { return test::SharedPostgres(); }

INSTANTIATE_TEST_SUITE_P(
    Stores, StoreBehaviour,
    ::testing::Values(TStoreKind{"Sqlite",
                                 [](const std::filesystem::path& dir) {
                                   return std::make_unique<TSqliteStore>(dir / "scores.db");
                                 }},
                      TStoreKind{"Postgres",
                                 [](const std::filesystem::path& dir) {
                                   // The directory stands for a database of its own.
                                   static std::map<std::filesystem::path, std::string> databases;
                                   auto [it, added] = databases.try_emplace(dir);
                                   if (added) it->second = Postgres().NewDatabase();
                                   return std::make_unique<TPostgresStore>(it->second);
                                 }}),
    [](const auto& param) { return param.param.Name; });

// SQL run on the database file with a connection of the test's own.
class TRawDatabase {
 public:
  explicit TRawDatabase(const std::filesystem::path& path) { sqlite3_open(path.c_str(), &db_); }
  ~TRawDatabase() { sqlite3_close(db_); }
  TRawDatabase(const TRawDatabase&) = delete;
  TRawDatabase& operator=(const TRawDatabase&) = delete;
  // The rows joined by "\n", columns by "|".
  std::string Query(const std::string& sql) {
    std::string out;
    char* error = nullptr;
    sqlite3_exec(
        db_, sql.c_str(),
        [](void* o, int n, char** values, char**) {
          auto* text = static_cast<std::string*>(o);
          for (int i = 0; i < n; ++i) *text += std::string(i ? "|" : "") + (values[i] ? values[i] : "NULL");
          *text += "\n";
          return 0;
        },
        &out, &error);
    if (error) {
      out += std::string("error: ") + error;
      sqlite3_free(error);
    }
    return out;
  }

 private:
  sqlite3* db_ = nullptr;
};

TEST(SqliteStore, MigratesAnEmptyFileAndRefusesANewerOrForeignOne) {
  TScratchDir dir;
  const auto empty = dir.Path() / "empty.db";
  std::fclose(std::fopen(empty.c_str(), "w"));
  { EXPECT_EQ(TSqliteStore(empty).SchemaVersion(), TSqliteStore::LatestSchemaVersion()); }
  EXPECT_EQ(TRawDatabase(empty).Query("SELECT version FROM schema_version"),
            std::to_string(TSqliteStore::LatestSchemaVersion()) + "\n");
  // Kept in the write-ahead log's mode, which later connections find.
  EXPECT_EQ(TRawDatabase(empty).Query("PRAGMA journal_mode"), "wal\n");

  TRawDatabase(empty).Query("UPDATE schema_version SET version = 999");
  EXPECT_THROW(TSqliteStore{empty}, EStoreError);

  const auto foreign = dir.Path() / "foreign.db";
  {
    std::FILE* f = std::fopen(foreign.c_str(), "w");
    std::fputs("SQLite format 3? no: a text file where a database should be, long enough to be read.......",
               f);
    std::fclose(f);
  }
  EXPECT_THROW(TSqliteStore{foreign}, EStoreError);
  EXPECT_THROW(TSqliteStore{dir.Path() / "missing-dir" / "scores.db"}, EStoreError);
}

TEST(SqliteStore, ADatabaseOfTheFirstSchemaKeepsItsScoresAsUnchecked) {
  TScratchDir dir;
  const auto path = dir.Path() / "old.db";
  EXPECT_EQ(TRawDatabase(path).Query(R"sql(
      CREATE TABLE schema_version (version INTEGER NOT NULL);
      INSERT INTO schema_version VALUES (1);
      CREATE TABLE scores (id INTEGER PRIMARY KEY, name TEXT NOT NULL, country TEXT NOT NULL,
        score INTEGER NOT NULL CHECK (score BETWEEN 0 AND 2147483647), stored_at INTEGER NOT NULL);
      CREATE INDEX scores_rank ON scores (score DESC, stored_at ASC, id ASC);
      CREATE TABLE used_tokens (id TEXT PRIMARY KEY, expires_at INTEGER NOT NULL) WITHOUT ROWID;
      CREATE INDEX used_tokens_expiry ON used_tokens (expires_at);
      CREATE TABLE token_secret (id INTEGER PRIMARY KEY CHECK (id = 1), secret BLOB NOT NULL);
      INSERT INTO scores (name, country, score, stored_at) VALUES ('Old', 'RU', 50, 7);
    )sql"),
            "");
  TSqliteStore store(path);
  EXPECT_EQ(store.SchemaVersion(), 2);
  const auto rows = store.Best(10);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Name, "Old");
  EXPECT_EQ(rows[0].Score, 50);
  EXPECT_EQ(rows[0].StoredAtMs, 7);
  EXPECT_EQ(rows[0].Check, TCheckState::Unchecked);
  EXPECT_EQ(rows[0].Level, std::nullopt);
  EXPECT_EQ(store.Recording(rows[0].Id), std::nullopt);
}

TEST(SqliteStore, ABatchThatFailsStoresNothing) {
  TScratchDir dir;
  const auto path = dir.Path() / "scores.db";
  TSqliteStore store(path);
  // A negative score breaks the table's check, after a valid one in the same batch.
  EXPECT_THROW(store.Store(std::vector{Score("fine", 5, 1, "t-fine"), Score("broken", -1, 1, "t-broken")}),
               EStoreError);
  EXPECT_TRUE(store.Best(100).empty());
  // Nor was the valid one's token used up.
  EXPECT_EQ(store.Store(std::vector{Score("fine", 5, 1, "t-fine")}), std::vector{TStoreOutcome::Stored});
}

TEST(SqliteStore, TheBestScoresWalkTheIndexWithoutSorting) {
  TScratchDir dir;
  const auto path = dir.Path() / "scores.db";
  { TSqliteStore store(path); }
  const std::string plan =
      TRawDatabase(path).Query(std::string("EXPLAIN QUERY PLAN ") + kSqliteBestScoresQuery);
  EXPECT_NE(plan.find("USING INDEX scores_rank"), std::string::npos) << plan;
  EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << plan;
}

TEST(PostgresStore, AddressesAreRecognisedAndLoggedWithoutTheirPassword) {
  struct TCase {
    const char* Database;
    bool Postgres;
    const char* Logged;
  };
  const TCase cases[] = {
      {"scores.db", false, "scores.db"},
      {"/var/lib/postgresql://x", false, "/var/lib/postgresql://x"},
      {"postgresql://db.example.org/scores", true, "postgresql://db.example.org/scores"},
      {"postgres://user@db/scores", true, "postgres://user@db/scores"},
      {"postgresql://user:pa:ss@db:5432/scores", true, "postgresql://user:***@db:5432/scores"},
      {"postgresql://user:p%40ss@db/scores?sslmode=require", true,
       "postgresql://user:***@db/scores?sslmode=require"},
      {"postgresql:///scores?host=/run/x&password=pw&user=u", true,
       "postgresql:///scores?host=/run/x&password=***&user=u"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Database);
    EXPECT_EQ(IsPostgresAddress(c.Database), c.Postgres);
    EXPECT_EQ(DatabaseForLog(c.Database), c.Logged);
  }
}

TEST(PostgresStore, ServersStartingTogetherMigrateOnceAndANewerSchemaIsRefused) {
  const std::string database = Postgres().NewDatabase();
  std::vector<int> versions(4);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < versions.size(); ++i)
    threads.emplace_back([&, i] { versions[i] = TPostgresStore(database).SchemaVersion(); });
  for (std::thread& t : threads) t.join();
  for (int v : versions) EXPECT_EQ(v, TPostgresStore::LatestSchemaVersion());
  EXPECT_EQ(Postgres().Sql(database, "SELECT version FROM schema_version"),
            std::to_string(TPostgresStore::LatestSchemaVersion()) + "\n");

  Postgres().Sql(database, "UPDATE schema_version SET version = 999");
  EXPECT_THROW(TPostgresStore{database}, EStoreError);
  EXPECT_THROW(TPostgresStore{Postgres().Address("no_such_database")}, EStoreError);
}

TEST(PostgresStore, ADatabaseOfTheFirstSchemaKeepsItsScoresAsUnchecked) {
  const std::string database = Postgres().NewDatabase();
  Postgres().Sql(database, R"sql(
      CREATE TABLE schema_version (version integer NOT NULL);
      INSERT INTO schema_version VALUES (1);
      CREATE TABLE scores (id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY, name text NOT NULL,
        country text NOT NULL, score integer NOT NULL CHECK (score >= 0), stored_at bigint NOT NULL);
      CREATE INDEX scores_rank ON scores (score DESC, stored_at ASC, id ASC);
      CREATE TABLE used_tokens (id text PRIMARY KEY, expires_at bigint NOT NULL);
      CREATE INDEX used_tokens_expiry ON used_tokens (expires_at);
      CREATE TABLE token_secret (id integer PRIMARY KEY CHECK (id = 1), secret bytea NOT NULL);
      INSERT INTO scores (name, country, score, stored_at) VALUES ('Old', 'RU', 50, 7);
    )sql");
  TPostgresStore store(database);
  EXPECT_EQ(store.SchemaVersion(), 2);
  const auto rows = store.Best(10);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Name, "Old");
  EXPECT_EQ(rows[0].StoredAtMs, 7);
  EXPECT_EQ(rows[0].Check, TCheckState::Unchecked);
  EXPECT_EQ(rows[0].Level, std::nullopt);
  EXPECT_EQ(store.Recording(rows[0].Id), std::nullopt);
}

TEST(PostgresStore, ABatchThatFailsStoresNothing) {
  TPostgresStore store(Postgres().NewDatabase());
  EXPECT_THROW(store.Store(std::vector{Score("fine", 5, 1, "t-fine"), Score("broken", -1, 1, "t-broken")}),
               EStoreError);
  EXPECT_TRUE(store.Best(100).empty());
  EXPECT_EQ(store.Store(std::vector{Score("fine", 5, 1, "t-fine")}), std::vector{TStoreOutcome::Stored});
}

TEST(PostgresStore, NamesWithQuotesBracesAndBackslashesGoThroughAsTheyAre) {
  TPostgresStore store(Postgres().NewDatabase());
  const std::vector<std::string> names = {"a\"b", "c\\d", "{e,f}", "NULL", "", "'g'", " h ", "ёЁ"};
  std::vector<TNewScore> batch;
  for (size_t i = 0; i < names.size(); ++i) {
    batch.push_back(Score(names[i], static_cast<int32_t>(100 - i), 1, "tok" + std::to_string(i)));
    batch.back().Country = names[names.size() - 1 - i];
  }
  store.Store(batch);
  const auto best = store.Best(100);
  ASSERT_EQ(best.size(), names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(best[i].Name, names[i]);
    EXPECT_EQ(best[i].Country, names[names.size() - 1 - i]);
  }
}

TEST(PostgresStore, TheBestScoresWalkTheIndexWithoutSorting) {
  const std::string database = Postgres().NewDatabase();
  { TPostgresStore store(database); }
  std::string query = kPostgresBestScoresQuery;
  query.replace(query.find("$1"), 2, "100");
  // On an empty table a sequential scan would do; the plan for a full one is
  // what counts.
  const std::string plan = Postgres().Sql(database, "SET enable_seqscan = off; EXPLAIN " + query);
  EXPECT_NE(plan.find("Index Scan using scores_rank"), std::string::npos) << plan;
  EXPECT_EQ(plan.find("Sort"), std::string::npos) << plan;
}

TEST(PostgresStore, HoldsNoMoreConnectionsThanItsLimit) {
  const std::string database = Postgres().NewDatabase();
  TPostgresStore::TLimits limits;
  limits.MaxConnections = 2;
  TPostgresStore store(database, limits);
  std::atomic<int> failed{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&, i] {
      for (int j = 0; j < 20; ++j) try {
          store.Store(std::vector{Score("t" + std::to_string(i) + "-" + std::to_string(j), 1, 1)});
          store.Best(10);
        } catch (const EStoreError&) {
          ++failed;
        }
    });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(store.Best(1000).size(), 160u);
  EXPECT_EQ(Postgres().Sql(database,
                           "SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() "
                           "AND application_name = 'bumperdash-scores'"),
            "2\n");
}

// The database stopped as by a crash and started again: meanwhile every call
// fails at once with EStoreError, and afterwards the same store object
// serves again by itself.
TEST(PostgresStore, FailsCleanlyWhileTheDatabaseIsDownAndServesAgainAfter) {
  test::TPostgresServer own;
  const std::string database = own.NewDatabase();
  TPostgresStore store(database);
  store.Store(std::vector{Score("before", 10, 1, "t-before")});

  own.Stop();
  const std::function<void()> calls[] = {
      [&] { store.Store(std::vector{Score("during", 10, 1, "t-during")}); },
      [&] { store.Best(100); },
      [&] { store.Check(); },
      [&] { store.TokenSecret("x"); },
      [&] { store.ForgetUsedTokens(0); },
  };
  for (const auto& call : calls) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(call(), EStoreError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  }

  own.Start();
  EXPECT_NO_THROW(store.Check());
  EXPECT_EQ(store.Store(std::vector{Score("after", 20, 2, "t-after")}), std::vector{TStoreOutcome::Stored});
  EXPECT_EQ(Names(store.Best(100)), (std::vector<std::string>{"after", "before"}));

  // A restart between two calls: a read goes through on a new connection.
  own.Stop(false);
  own.Start();
  EXPECT_EQ(store.Best(100).size(), 2u);
}

}  // namespace
}  // namespace bd::server
