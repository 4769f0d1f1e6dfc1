#pragma once
// The store the --database argument names: a PostgreSQL connection URI
// ("postgresql://…" or "postgres://…") or else an SQLite file.

#include <memory>
#include <string>

#include "server/ScoreStore.h"

namespace bd::server {

// Opens the store and brings its schema up to date; throws EStoreError.
std::unique_ptr<IScoreStore> OpenStore(const std::string& database);

// The database as the log names it: the file, or the address without its
// password.
std::string DatabaseForLog(const std::string& database);

}  // namespace bd::server
