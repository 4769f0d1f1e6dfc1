#pragma once
// The real bumperdash-scores program for tests: started from the build's
// run directory on 127.0.0.1 with a free port and a scratch database, its
// standard error kept in a file, and stopped with SIGTERM at the end.

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace bd::test {

// A fresh directory, removed with everything in it at the end.
class TScratchDir {
 public:
  TScratchDir();
  ~TScratchDir();
  TScratchDir(const TScratchDir&) = delete;
  TScratchDir& operator=(const TScratchDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::filesystem::path ServerProgram();

// Runs a shell command and returns its standard output.
std::string RunForOutput(const std::string& command);

class TServerProcess {
 public:
  // Starts the program with --listen 127.0.0.1:0, --database `database`,
  // --reports-per-minute 0 unless `args` give it, and `args`; waits until it
  // tells its port. Its standard error goes to `logFile`. Throws
  // std::runtime_error when it does not start.
  TServerProcess(const std::filesystem::path& database, const std::filesystem::path& logFile,
                 std::vector<std::string> args = {});
  // Terminates it if it still runs.
  ~TServerProcess();
  TServerProcess(const TServerProcess&) = delete;
  TServerProcess& operator=(const TServerProcess&) = delete;

  int Port() const { return port_; }
  pid_t Pid() const { return pid_; }
  std::string Base() const;  // "http://127.0.0.1:PORT"

  // SIGTERM, then waits for the exit; returns the exit status, or -1 when it
  // did not exit by itself within the time (it is then killed).
  int Terminate();
  // SIGKILL, then waits.
  void Kill();

  std::string Log() const;

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::filesystem::path logFile_;
};

struct THttpReply {
  int Status = 0;  // 0 when no answer came
  std::string Body;
};

// A GET of `target` (path and query, sent as they are) from `base`.
THttpReply HttpGet(const std::string& base, const std::string& target);

// A POST of `body` to `target` from `base`.
THttpReply HttpPost(const std::string& base, const std::string& target, const std::string& body);

// The game's addresses on the server.
inline constexpr const char* kVersionTarget = "/cgi/version.pl?version&prg=BumperDash";
inline constexpr const char* kReportTarget = "/cgi/version.pl?hs&prg=BumperDash&inf=";
inline constexpr const char* kTableTarget = "/cgi/version.pl?prg=BumperDash&show&type=0";
inline constexpr const char* kSeedTarget = "/cgi/version.pl?seed&prg=BumperDash";
inline constexpr const char* kDailySeedTarget = "/cgi/version.pl?daily&prg=BumperDash";

// A token from the server's version check.
std::string FreshToken(const std::string& base);

// The encoded report the game sends; name and country in UTF-8.
std::string EncodedReport(const std::string& nameUtf8, int32_t score, const std::string& token,
                          const std::string& countryUtf8);

// Sends one report as the game would, with a fresh token; returns the status.
int SendReport(const std::string& base, const std::string& nameUtf8, int32_t score,
               const std::string& countryUtf8 = "");

// Every name in `database` (an SQLite file or a postgresql:// address), read
// with the server's own store.
std::vector<std::string> AllStoredNames(const std::string& database);

// Reports sent by `clients` threads, each with a fresh token and a name of
// its own, until `interrupt` (run on the calling thread) returns and a
// client's request then fails, or the clients have sent 20000 each.
struct TReportLoad {
  std::vector<std::string> Answered;  // the names answered with 200
  size_t Sent = 0;
};
TReportLoad SendReportsUntil(const std::string& base, size_t clients, const std::function<void()>& interrupt);

// The name cells of the table page, in order, as the page writes them.
std::vector<std::string> TableNames(const std::string& page);

}  // namespace bd::test
