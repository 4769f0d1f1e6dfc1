#include "server/PostgresStore.h"

#include <poll.h>

#include <algorithm>
#include <map>
#include <optional>
#include <pqxx/pqxx>
#include <set>
#include <utility>

namespace bd::server {

namespace {

// A connection broke off in the middle of a call.
class EConnectionLost : public EStoreError {
 public:
  using EStoreError::EStoreError;
};

// The schema, as steps from version to version, numbered as the SQLite
// store's steps are: version N means the same tables in both.
struct TMigration {
  int Version;
  const char* Sql;
};

constexpr TMigration kMigrations[] = {
    {1, R"sql(
      CREATE TABLE scores (
        id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
        name text NOT NULL,
        country text NOT NULL,
        score integer NOT NULL CHECK (score >= 0),
        stored_at bigint NOT NULL
      );
      -- The table page walks this index for its 100 rows.
      CREATE INDEX scores_rank ON scores (score DESC, stored_at ASC, id ASC);
      -- A token's id goes in here in the transaction that stores its report,
      -- so a second report with the same token, sent to any server, finds
      -- it taken.
      CREATE TABLE used_tokens (
        id text PRIMARY KEY,
        expires_at bigint NOT NULL
      );
      CREATE INDEX used_tokens_expiry ON used_tokens (expires_at);
      CREATE TABLE token_secret (
        id integer PRIMARY KEY CHECK (id = 1),
        secret bytea NOT NULL
      );
    )sql"},
    {2, R"sql(
      -- How far each score was checked; the scores stored before are the
      -- reports of games that sent no recording.
      ALTER TABLE scores
        ADD COLUMN check_state text NOT NULL DEFAULT 'unchecked'
          CHECK (check_state IN ('unchecked', 'checked', 'checked-own-seed')),
        ADD COLUMN level integer,
        ADD COLUMN rules_version integer,
        ADD COLUMN daily_date text;
      -- The day's race has a table of its own, walked by this index.
      CREATE INDEX scores_daily ON scores (daily_date, score DESC, stored_at ASC, id ASC)
        WHERE daily_date IS NOT NULL;
      -- The recordings of checked scores, apart from the scores so that the
      -- table's rows stay small and a recording is read only when asked for.
      CREATE TABLE recordings (
        score_id bigint PRIMARY KEY REFERENCES scores (id),
        bytes bytea NOT NULL
      );
    )sql"},
};

// Servers starting on one database at once migrate it one after another.
constexpr const char* kMigrationLock = "SELECT pg_advisory_xact_lock(7215038452317)";

// A PostgreSQL array literal of texts: every element quoted, with its
// quotes and backslashes escaped, so any text goes through as it is.
std::string TextArray(const std::vector<std::string_view>& values) {
  std::string out = "{";
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out += ',';
    out += '"';
    for (char c : values[i]) {
      if (c == '"' || c == '\\') out += '\\';
      out += c;
    }
    out += '"';
  }
  return out + "}";
}

template <class T>
std::string NumberArray(const std::vector<T>& values) {
  std::string out = "{";
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out += ',';
    out += std::to_string(values[i]);
  }
  return out + "}";
}

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

std::string FromHexText(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

std::string RaceKey(std::string_view raceId) { return "race:" + std::string(raceId); }

// A PostgreSQL array literal of texts that may be missing: NULL, or the
// text quoted as TextArray quotes it.
std::string NullableTextArray(const std::vector<std::optional<std::string>>& values) {
  std::string out = "{";
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out += ',';
    if (values[i]) {
      const std::string one = TextArray({*values[i]});
      out += one.substr(1, one.size() - 2);
    } else {
      out += "NULL";
    }
  }
  return out + "}";
}

std::string NullableNumberArray(const std::vector<std::optional<int32_t>>& values) {
  std::string out = "{";
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out += ',';
    out += values[i] ? std::to_string(*values[i]) : "NULL";
  }
  return out + "}";
}

// Stores `scores` in their order with one statement; returns their ids.
pqxx::result InsertRows(pqxx::work& transaction, const std::vector<const TNewScore*>& scores) {
  std::vector<std::string_view> names, countries, states;
  std::vector<int32_t> values;
  std::vector<int64_t> times;
  std::vector<std::optional<int32_t>> levels, rules;
  std::vector<std::optional<std::string>> dates;
  for (const TNewScore* s : scores) {
    names.push_back(s->Name);
    countries.push_back(s->Country);
    values.push_back(s->Score);
    times.push_back(s->StoredAtMs);
    states.push_back(CheckStateName(s->Check));
    levels.push_back(s->Level);
    rules.push_back(s->RulesVersion);
    dates.push_back(s->DailyDate);
  }
  return transaction.exec_params(
      "INSERT INTO scores (name, country, score, stored_at, check_state, level, rules_version, daily_date) "
      "SELECT name, country, score, stored_at, check_state, level, rules_version, daily_date "
      "FROM unnest($1::text[], $2::text[], $3::integer[], $4::bigint[], $5::text[], $6::integer[], "
      "$7::integer[], $8::text[]) "
      "WITH ORDINALITY AS t(name, country, score, stored_at, check_state, level, rules_version, daily_date, "
      "n) "
      "ORDER BY n RETURNING id",
      TextArray(names), TextArray(countries), NumberArray(values), NumberArray(times), TextArray(states),
      NullableNumberArray(levels), NullableNumberArray(rules), NullableTextArray(dates));
}

// Stores `scores` in their order. Scores without recordings go in with one
// statement; a batch that holds a recording goes in row by row, each
// recording with its score's id.
void InsertScores(pqxx::work& transaction, const std::vector<const TNewScore*>& scores) {
  if (scores.empty()) return;
  const bool anyRecording =
      std::any_of(scores.begin(), scores.end(), [](const TNewScore* s) { return !s->Recording.empty(); });
  if (!anyRecording) {
    InsertRows(transaction, scores);
    return;
  }
  for (const TNewScore* s : scores) {
    const pqxx::result id = InsertRows(transaction, {s});
    if (!s->Recording.empty())
      transaction.exec_params0("INSERT INTO recordings (score_id, bytes) VALUES ($1, decode($2, 'hex'))",
                               id[0][0].as<int64_t>(), Hex(s->Recording));
  }
}

// `name`=`value` added to a connection URI unless it sets `name` itself.
void AddParameter(std::string& uri, const std::string& name, const std::string& value) {
  const size_t query = uri.find('?');
  if (query != std::string::npos && (uri.find("?" + name + "=", query) != std::string::npos ||
                                     uri.find("&" + name + "=", query) != std::string::npos))
    return;
  uri += query == std::string::npos ? '?' : '&';
  uri += name + "=" + value;
}

}  // namespace

bool IsPostgresAddress(const std::string& database) {
  return database.starts_with("postgresql://") || database.starts_with("postgres://");
}

std::string PostgresAddressForLog(const std::string& address) {
  std::string out = address;
  const size_t scheme = out.find("://");
  if (scheme != std::string::npos) {
    const size_t start = scheme + 3;
    const size_t end = std::min(out.find('/', start), out.find('?', start));
    const size_t at = out.rfind('@', end == std::string::npos ? out.size() : end);
    if (at != std::string::npos && at >= start) {
      const size_t colon = out.find(':', start);
      if (colon != std::string::npos && colon < at) out.replace(colon + 1, at - colon - 1, "***");
    }
  }
  for (size_t p = out.find("password="); p != std::string::npos; p = out.find("password=", p + 1)) {
    const size_t valueStart = p + 9;
    const size_t valueEnd = out.find('&', valueStart);
    out.replace(valueStart, (valueEnd == std::string::npos ? out.size() : valueEnd) - valueStart, "***");
  }
  return out;
}

struct TPostgresStore::TConnection {
  explicit TConnection(const std::string& conninfo) : Db(conninfo) {}
  pqxx::connection Db;
};

int TPostgresStore::LatestSchemaVersion() { return std::end(kMigrations)[-1].Version; }

// A connection borrowed from the pool for one call: given back when the call
// went well, dropped when it failed, so that a connection the database
// broke off is never used again and the next call connects afresh.
class TPostgresStore::TLease {
 public:
  explicit TLease(TPostgresStore& store) : store_(store), connection_(store.Take()) {}
  ~TLease() {
    if (connection_) store_.Discard();
  }
  TLease(const TLease&) = delete;
  TLease& operator=(const TLease&) = delete;

  pqxx::connection& operator*() { return connection_->Db; }
  void GiveBack() { store_.Return(std::move(connection_)); }

 private:
  TPostgresStore& store_;
  std::unique_ptr<TConnection> connection_;
};

// Runs `call` on a borrowed connection; a failure of the library or the
// database becomes EStoreError.
template <class F>
auto TPostgresStore::WithConnection(F&& call) {
  try {
    TLease lease(*this);
    if constexpr (std::is_void_v<decltype(call(*lease))>) {
      call(*lease);
      lease.GiveBack();
    } else {
      auto result = call(*lease);
      lease.GiveBack();
      return result;
    }
  } catch (const EStoreError&) {
    throw;
  } catch (const pqxx::broken_connection& e) {
    // The database went away: the idle connections went with it.
    DropIdle();
    throw EConnectionLost(e.what());
  } catch (const std::exception& e) {
    throw EStoreError(e.what());
  }
}

template <class F>
auto TPostgresStore::ReadWithConnection(F&& call) {
  // A read is safe to try twice: once more on a new connection when the
  // one taken from the pool was cut off (as after a database restart).
  try {
    return WithConnection(call);
  } catch (const EConnectionLost&) {
    return WithConnection(call);
  }
}

void TPostgresStore::DropIdle() {
  std::vector<std::unique_ptr<TConnection>> dropped;
  {
    std::lock_guard lock(idleMutex_);
    dropped.swap(idle_);
    open_ -= dropped.size();
  }
  freed_.notify_all();
}

TPostgresStore::TPostgresStore(std::string address) : TPostgresStore(std::move(address), TLimits{}) {}

TPostgresStore::TPostgresStore(std::string address, TLimits limits)
    : conninfo_(std::move(address)), limits_(limits) {
  AddParameter(conninfo_, "connect_timeout", std::to_string(limits_.ConnectSeconds));
  // A database that vanishes from the network mid-call (no reset, no
  // answer) is given up on after this long rather than the system's
  // retransmission timeout of many minutes.
  AddParameter(conninfo_, "tcp_user_timeout", std::to_string(limits_.Statement.count() + 1000));
  AddParameter(conninfo_, "application_name", "bumperdash-scores");

  schemaVersion_ = WithConnection([&](pqxx::connection& connection) {
    pqxx::work transaction(connection);
    // A long migration is allowed its time; only requests have a limit.
    transaction.exec0("SET LOCAL statement_timeout = 0");
    transaction.exec0("SET LOCAL lock_timeout = 0");  // another server's migration
    transaction.exec(kMigrationLock);
    transaction.exec0("CREATE TABLE IF NOT EXISTS schema_version (version integer NOT NULL)");
    const pqxx::result rows = transaction.exec("SELECT version FROM schema_version");
    if (rows.size() > 1) throw EStoreError("the schema_version table holds more than one row");
    const int found = rows.empty() ? 0 : rows[0][0].as<int>();
    const int latest = LatestSchemaVersion();
    if (found > latest)
      throw EStoreError("the database has schema version " + std::to_string(found) +
                        ", newer than this server's " + std::to_string(latest));
    for (const TMigration& m : kMigrations)
      if (m.Version > found) transaction.exec0(m.Sql);
    if (found != latest) {
      transaction.exec0("DELETE FROM schema_version");
      transaction.exec_params0("INSERT INTO schema_version (version) VALUES ($1)", latest);
    }
    transaction.commit();
    return latest;
  });
}

TPostgresStore::~TPostgresStore() = default;

std::unique_ptr<TPostgresStore::TConnection> TPostgresStore::Connect() {
  try {
    auto connection = std::make_unique<TConnection>(conninfo_);
    pqxx::nontransaction settings(connection->Db);
    // Every statement, and every wait for a lock, ends in time for the
    // request that waits on it to be answered.
    const std::string ms = std::to_string(limits_.Statement.count());
    settings.exec0("SET statement_timeout = " + ms);
    settings.exec0("SET lock_timeout = " + ms);
    settings.exec0("SET idle_in_transaction_session_timeout = " +
                   std::to_string(limits_.Statement.count() * 2));
    // A report is answered as stored once its commit returns, so a commit
    // must be durable when it returns, whatever the database's default.
    settings.exec(
        "SELECT set_config('synchronous_commit', 'on', false) "
        "WHERE current_setting('synchronous_commit') = 'off'");
    return connection;
  } catch (const std::exception& e) {
    throw EStoreError(std::string("cannot connect to the database: ") + e.what());
  }
}

std::unique_ptr<TPostgresStore::TConnection> TPostgresStore::Take() {
  std::unique_lock lock(idleMutex_);
  const auto until = std::chrono::steady_clock::now() + limits_.Statement;
  for (;;) {
    while (!idle_.empty()) {
      auto connection = std::move(idle_.back());
      idle_.pop_back();
      // An idle connection has nothing to read, unless the database closed
      // it (a restart, a fail-over, an operator): such a one is dropped
      // before any request fails on it.
      pollfd p{connection->Db.sock(), POLLIN, 0};
      if (p.fd >= 0 && ::poll(&p, 1, 0) == 0) return connection;
      --open_;
    }
    if (open_ < limits_.MaxConnections) break;
    if (freed_.wait_until(lock, until) == std::cv_status::timeout && idle_.empty() &&
        open_ >= limits_.MaxConnections)
      throw EStoreError("every connection to the database is busy");
  }
  ++open_;
  lock.unlock();
  try {
    return Connect();
  } catch (...) {
    Discard();
    throw;
  }
}

void TPostgresStore::Return(std::unique_ptr<TConnection> connection) {
  constexpr size_t kMaxIdle = 8;
  {
    std::lock_guard lock(idleMutex_);
    if (connection->Db.is_open() && idle_.size() < kMaxIdle) {
      idle_.push_back(std::move(connection));
    } else {
      --open_;
    }
  }
  freed_.notify_one();
  // A connection not kept closes here, outside the lock.
}

void TPostgresStore::Discard() {
  {
    std::lock_guard lock(idleMutex_);
    --open_;
  }
  freed_.notify_one();
}

int TPostgresStore::SchemaVersion() { return schemaVersion_; }

std::string TPostgresStore::TokenSecret(std::string_view candidate) {
  return WithConnection([&](pqxx::connection& connection) {
    pqxx::work transaction(connection);
    transaction.exec_params0(
        "INSERT INTO token_secret (id, secret) VALUES (1, decode($1, 'hex')) ON CONFLICT DO NOTHING",
        Hex(candidate));
    const pqxx::result rows = transaction.exec("SELECT encode(secret, 'hex') FROM token_secret WHERE id = 1");
    if (rows.empty()) throw EStoreError("the token secret is missing");
    const std::string secret = FromHexText(rows[0][0].as<std::string>());
    transaction.commit();
    return secret;
  });
}

std::vector<TStoreOutcome> TPostgresStore::Store(std::span<const TNewScore> scores) {
  if (scores.empty()) return {};
  bool committing = false;
  const auto store = [&](pqxx::connection& connection) {
    committing = false;
    // The first report with each token claims it. The tokens go in in one
    // order, the same on every server, so that two batches sharing tokens
    // wait for each other rather than deadlock.
    std::map<std::string_view, size_t> firstWithToken;
    for (size_t i = 0; i < scores.size(); ++i) firstWithToken.emplace(scores[i].TokenId, i);
    std::vector<std::string_view> tokenIds;
    std::vector<int64_t> expiries;
    for (const auto& [id, index] : firstWithToken) {
      tokenIds.push_back(id);
      expiries.push_back(scores[index].TokenExpiresAtMs);
    }

    pqxx::work transaction(connection);
    const pqxx::result claimed = transaction.exec_params(
        "INSERT INTO used_tokens (id, expires_at) "
        "SELECT id, expires_at FROM unnest($1::text[], $2::bigint[]) WITH ORDINALITY AS t(id, expires_at, n) "
        "ORDER BY n ON CONFLICT DO NOTHING RETURNING id",
        TextArray(tokenIds), NumberArray(expiries));
    std::set<std::string, std::less<>> fresh;
    for (const auto& row : claimed) fresh.insert(row[0].as<std::string>());

    // A race is stored once, whatever token it comes with: the races of the
    // reports whose tokens were fresh are claimed as the tokens were.
    std::map<std::string, size_t> firstWithRace;
    for (size_t i = 0; i < scores.size(); ++i)
      if (!scores[i].RaceId.empty() && firstWithToken.at(scores[i].TokenId) == i &&
          fresh.count(scores[i].TokenId) > 0)
        firstWithRace.emplace(RaceKey(scores[i].RaceId), i);
    std::set<std::string, std::less<>> freshRaces;
    if (!firstWithRace.empty()) {
      std::vector<std::string_view> raceKeys;
      std::vector<int64_t> raceExpiries;
      for (const auto& [key, index] : firstWithRace) {
        raceKeys.push_back(key);
        raceExpiries.push_back(scores[index].RaceExpiresAtMs);
      }
      const pqxx::result claimedRaces = transaction.exec_params(
          "INSERT INTO used_tokens (id, expires_at) "
          "SELECT id, expires_at FROM unnest($1::text[], $2::bigint[]) "
          "WITH ORDINALITY AS t(id, expires_at, n) ORDER BY n ON CONFLICT DO NOTHING RETURNING id",
          TextArray(raceKeys), NumberArray(raceExpiries));
      for (const auto& row : claimedRaces) freshRaces.insert(row[0].as<std::string>());
    }

    // The scores go in in the order they came, which orders equal scores
    // stored at the same time.
    std::vector<TStoreOutcome> outcomes;
    std::vector<const TNewScore*> stored;
    std::vector<std::string_view> releasedTokens;
    for (size_t i = 0; i < scores.size(); ++i) {
      const TNewScore& s = scores[i];
      if (firstWithToken.at(s.TokenId) != i || fresh.count(s.TokenId) == 0) {
        outcomes.push_back(TStoreOutcome::TokenUsed);
      } else if (!s.RaceId.empty() &&
                 (firstWithRace.at(RaceKey(s.RaceId)) != i || freshRaces.count(RaceKey(s.RaceId)) == 0)) {
        // Refused: its token is left unused.
        outcomes.push_back(TStoreOutcome::RaceUsed);
        releasedTokens.push_back(s.TokenId);
      } else {
        outcomes.push_back(TStoreOutcome::Stored);
        stored.push_back(&s);
      }
    }
    if (!releasedTokens.empty())
      transaction.exec_params0("DELETE FROM used_tokens WHERE id = ANY($1::text[])",
                               TextArray(releasedTokens));
    InsertScores(transaction, stored);
    committing = true;
    transaction.commit();
    return outcomes;
  };
  try {
    return WithConnection(store);
  } catch (const EConnectionLost&) {
    // Cut off before the commit was sent, nothing was stored: once more on
    // a new connection. Cut off during the commit, it may have been stored,
    // and the batch fails rather than risk storing it twice.
    if (committing) throw;
    return WithConnection(store);
  }
}

std::vector<TStoredScore> TPostgresStore::Best(size_t limit) {
  return ReadWithConnection([&](pqxx::connection& connection) {
    pqxx::read_transaction transaction(connection);
    const pqxx::result rows = transaction.exec_params(kPostgresBestScoresQuery, static_cast<int64_t>(limit));
    std::vector<TStoredScore> best;
    best.reserve(rows.size());
    for (const auto& row : rows) {
      TStoredScore score;
      score.Name = row[0].as<std::string>();
      score.Country = row[1].as<std::string>();
      score.Score = row[2].as<int32_t>();
      score.StoredAtMs = row[3].as<int64_t>();
      score.Id = row[4].as<int64_t>();
      score.Check = CheckStateFromName(row[5].as<std::string>());
      if (!row[6].is_null()) score.Level = row[6].as<int32_t>();
      if (!row[7].is_null()) score.RulesVersion = row[7].as<int32_t>();
      if (!row[8].is_null()) score.DailyDate = row[8].as<std::string>();
      best.push_back(std::move(score));
    }
    return best;
  });
}

std::optional<std::string> TPostgresStore::Recording(int64_t scoreId) {
  return ReadWithConnection([&](pqxx::connection& connection) -> std::optional<std::string> {
    pqxx::read_transaction transaction(connection);
    const pqxx::result rows =
        transaction.exec_params("SELECT encode(bytes, 'hex') FROM recordings WHERE score_id = $1", scoreId);
    if (rows.empty()) return std::nullopt;
    return FromHexText(rows[0][0].as<std::string>());
  });
}

size_t TPostgresStore::ForgetUsedTokens(int64_t beforeMs) {
  return ReadWithConnection([&](pqxx::connection& connection) {
    pqxx::work transaction(connection);
    const pqxx::result deleted =
        transaction.exec_params("DELETE FROM used_tokens WHERE expires_at < $1", beforeMs);
    transaction.commit();
    return static_cast<size_t>(deleted.affected_rows());
  });
}

void TPostgresStore::Check() {
  ReadWithConnection([&](pqxx::connection& connection) {
    pqxx::read_transaction transaction(connection);
    transaction.exec("SELECT version FROM schema_version");
  });
}

}  // namespace bd::server

#if defined(__SANITIZE_ADDRESS__)
// libpqxx 6.4 leaks libpq's result when a connection breaks in the middle
// of a call (a database stopped under a running server). The leak is the
// library's, small and once per broken connection; the sanitizer build's
// leak check leaves it out and still reports every other.
extern "C" const char* __lsan_default_suppressions() { return "leak:libpqxx\n"; }
#endif
