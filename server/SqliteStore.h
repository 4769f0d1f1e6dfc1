#pragma once
// The scores in one SQLite file: write-ahead log with a full sync on every
// commit, so a stored report survives a crash or a power cut. Writes go
// through one connection; reads use connections of their own, which the
// log lets run beside a write.

#include <filesystem>
#include <mutex>
#include <vector>

#include "server/ScoreStore.h"

struct sqlite3;

namespace bd::server {

// The query behind Best(): an index walk, never a sort of the whole table.
inline constexpr const char* kSqliteBestScoresQuery =
    "SELECT name, country, score, stored_at, id, check_state, level, rules_version, daily_date FROM scores "
    "ORDER BY score DESC, stored_at ASC, id ASC LIMIT ?1";

class TSqliteStore final : public IScoreStore {
 public:
  // The schema version this server brings its databases to.
  static int LatestSchemaVersion();

  // Opens the database, creating the file if it does not exist, and runs the
  // migrations it lacks in one transaction. Throws EStoreError when the file
  // cannot be opened, is no database, or is newer than this server.
  explicit TSqliteStore(const std::filesystem::path& path);
  ~TSqliteStore() override;
  TSqliteStore(const TSqliteStore&) = delete;
  TSqliteStore& operator=(const TSqliteStore&) = delete;

  int SchemaVersion() override;
  std::string TokenSecret(std::string_view candidate) override;
  std::vector<TStoreOutcome> Store(std::span<const TNewScore> scores) override;
  std::vector<TStoredScore> Best(size_t limit) override;
  std::optional<std::string> Recording(int64_t scoreId) override;
  size_t ForgetUsedTokens(int64_t beforeMs) override;
  void Check() override;

 private:
  class TReader;
  sqlite3* TakeReader();
  void ReturnReader(sqlite3* db);

  std::filesystem::path path_;
  std::mutex writeMutex_;
  sqlite3* writer_ = nullptr;
  int schemaVersion_ = 0;
  std::mutex readersMutex_;
  std::vector<sqlite3*> idleReaders_;
};

}  // namespace bd::server
