#pragma once
// A PostgreSQL server of the test's own: a new cluster made with initdb in
// a scratch directory, started with pg_ctl on a Unix socket in that
// directory (so tests running side by side never meet), and stopped and
// removed at the end. PostgreSQL refuses to run as root, so under root its
// programs run as the system's "postgres" user (scripts/install-deps.sh
// installs the server, which makes that user).

#include <filesystem>
#include <string>

namespace bd::test {

class TPostgresServer {
 public:
  struct TSettings {
    std::string SharedBuffers = "16MB";
  };
  // Makes and starts the cluster. Throws std::runtime_error, with the
  // reason, when PostgreSQL is not installed or does not start.
  TPostgresServer();
  explicit TPostgresServer(TSettings settings);
  ~TPostgresServer();
  TPostgresServer(const TPostgresServer&) = delete;
  TPostgresServer& operator=(const TPostgresServer&) = delete;

  // The server's address for --database: "postgresql://postgres@/NAME?host=DIR".
  std::string Address(const std::string& database = "postgres") const;

  // Makes an empty database with a name not used before; returns its address.
  std::string NewDatabase();

  // Runs SQL with psql; returns its rows, one a line, columns joined by "|".
  // Throws std::runtime_error when psql fails.
  std::string Sql(const std::string& address, const std::string& sql) const;

  // Stops the server as a crash would (every process killed, no checkpoint),
  // or as its operator's fast shutdown does. Returns once it is down.
  void Stop(bool likeACrash = true);
  // Starts it again on the same files; returns once it takes connections.
  void Start();

  std::string Log() const;
  // The server's main process, while it runs.
  int Pid() const;

 private:
  std::string Run(const std::string& command, bool asOwner) const;

  std::filesystem::path dir_;
  std::filesystem::path bin_;
  bool running_ = false;
  int databases_ = 0;
};

// One server for the tests of a process, started at the first call and
// stopped at exit; each test makes databases of its own on it.
TPostgresServer& SharedPostgres();

}  // namespace bd::test
