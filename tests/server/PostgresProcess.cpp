#include "PostgresProcess.h"

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace bd::test {

namespace {

// The newest PostgreSQL's programs, as Debian installs them.
std::filesystem::path PostgresBinDir() {
  std::filesystem::path best;
  int bestVersion = -1;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", ec)) {
    const std::string name = entry.path().filename().string();
    if (!std::filesystem::exists(entry.path() / "bin" / "initdb")) continue;
    const int version = std::atoi(name.c_str());
    if (version > bestVersion) {
      bestVersion = version;
      best = entry.path() / "bin";
    }
  }
  if (best.empty())
    throw std::runtime_error(
        "PostgreSQL is not installed (no /usr/lib/postgresql/*/bin/initdb): run "
        "scripts/install-deps.sh");
  return best;
}

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

TPostgresServer::TPostgresServer() : TPostgresServer(TSettings{}) {}

TPostgresServer::TPostgresServer(TSettings settings) : bin_(PostgresBinDir()) {
  // In /tmp whatever TMPDIR says: the "postgres" user must reach it, and
  // the socket's path must stay within the 107 bytes a Unix socket allows.
  std::string pattern = "/tmp/bd-pg-XXXXXX";
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
  if (::geteuid() == 0) {
    const passwd* owner = ::getpwnam("postgres");
    if (!owner)
      throw std::runtime_error(
          "there is no \"postgres\" user to run PostgreSQL as: run scripts/install-deps.sh");
    if (::chown(dir_.c_str(), owner->pw_uid, owner->pw_gid) != 0) throw std::runtime_error("chown failed");
  }
  Run(Quoted((bin_ / "initdb").string()) + " --no-sync -A trust -U postgres -E UTF8 --locale=C -D " +
          Quoted((dir_ / "data").string()),
      true);
  std::ofstream conf(dir_ / "data" / "postgresql.conf", std::ios::app);
  conf << "\nlisten_addresses = ''\n"
       << "unix_socket_directories = '" << dir_.string() << "'\n"
       << "shared_buffers = " << settings.SharedBuffers << "\n"
       << "max_connections = 100\n";
  conf.close();
  Start();
  // Should the test process die without its destructors (an abort, a
  // timeout's kill), a watcher stops the server and removes its files.
  const std::string stop = (::geteuid() == 0 ? "runuser -u postgres -- " : "") +
                           Quoted((bin_ / "pg_ctl").string()) + " -D " + Quoted((dir_ / "data").string()) +
                           " -m immediate stop";
  const std::string watcher = "while kill -0 " + std::to_string(::getpid()) +
                              " 2>/dev/null; do sleep 1; done; if [ -d " + Quoted(dir_.string()) +
                              " ]; then " + stop + "; rm -rf " + Quoted(dir_.string()) + "; fi";
  const std::string command = "nohup sh -c " + Quoted(watcher) + " >/dev/null 2>&1 </dev/null &";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("cannot start the PostgreSQL watcher");
}

TPostgresServer::~TPostgresServer() {
  try {
    if (running_) Stop(true);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  }
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

std::string TPostgresServer::Run(const std::string& command, bool asOwner) const {
  const std::string full = (asOwner && ::geteuid() == 0 ? "runuser -u postgres -- " : "") + command + " 2>&1";
  std::string out;
  std::FILE* pipe = ::popen(full.c_str(), "r");
  if (!pipe) throw std::runtime_error("cannot run " + command);
  char chunk[4096];
  size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, n);
  const int status = ::pclose(pipe);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error("\"" + command + "\" failed:\n" + out);
  return out;
}

std::string TPostgresServer::Address(const std::string& database) const {
  return "postgresql://postgres@/" + database + "?host=" + dir_.string();
}

std::string TPostgresServer::NewDatabase() {
  const std::string name = "scores" + std::to_string(++databases_);
  Sql(Address(), "CREATE DATABASE " + name);
  return Address(name);
}

std::string TPostgresServer::Sql(const std::string& address, const std::string& sql) const {
  return Run(Quoted((bin_ / "psql").string()) + " -X -q -A -t -v ON_ERROR_STOP=1 -d " + Quoted(address) +
                 " -c " + Quoted(sql),
             false);
}

void TPostgresServer::Stop(bool likeACrash) {
  Run(Quoted((bin_ / "pg_ctl").string()) + " -D " + Quoted((dir_ / "data").string()) + " -w -t 60 -m " +
          (likeACrash ? "immediate" : "fast") + " stop",
      true);
  running_ = false;
}

void TPostgresServer::Start() {
  Run(Quoted((bin_ / "pg_ctl").string()) + " -D " + Quoted((dir_ / "data").string()) + " -l " +
          Quoted((dir_ / "postgres.log").string()) + " -w -t 60 start",
      true);
  running_ = true;
}

TPostgresServer& SharedPostgres() {
  static TPostgresServer server;
  return server;
}

int TPostgresServer::Pid() const {
  std::ifstream in(dir_ / "data" / "postmaster.pid");
  int pid = -1;
  in >> pid;
  return pid;
}

std::string TPostgresServer::Log() const {
  std::ifstream in(dir_ / "postgres.log");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace bd::test
