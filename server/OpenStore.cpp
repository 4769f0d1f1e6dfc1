#include "server/OpenStore.h"

#include "server/PostgresStore.h"
#include "server/SqliteStore.h"

namespace bd::server {

std::unique_ptr<IScoreStore> OpenStore(const std::string& database) {
  if (IsPostgresAddress(database)) return std::make_unique<TPostgresStore>(database);
  return std::make_unique<TSqliteStore>(database);
}

std::string DatabaseForLog(const std::string& database) {
  return IsPostgresAddress(database) ? PostgresAddressForLog(database) : database;
}

}  // namespace bd::server
