#pragma once
// A real nginx in front of score servers, as the sample deployment has it:
// a reverse proxy on a free loopback port that spreads the requests over
// the servers' ports and passes a request on to the next server when one
// does not answer. It runs in the foreground as a child of the test, with
// its configuration, logs and temporary files in a scratch directory, and
// is stopped at the end.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace bd::test {

class TNginxProcess {
 public:
  // Starts nginx on 127.0.0.1 with `upstreamPorts` behind it (servers on
  // 127.0.0.1); returns once it takes connections. Throws
  // std::runtime_error, with its error log, when it does not start.
  explicit TNginxProcess(const std::vector<int>& upstreamPorts);
  ~TNginxProcess();
  TNginxProcess(const TNginxProcess&) = delete;
  TNginxProcess& operator=(const TNginxProcess&) = delete;

  int Port() const { return port_; }
  pid_t Pid() const { return pid_; }  // the master process
  std::string Base() const;           // "http://127.0.0.1:PORT"
  std::string ErrorLog() const;

 private:
  bool TryStart(const std::vector<int>& upstreamPorts);
  void StopProcess();

  std::filesystem::path dir_;
  pid_t pid_ = -1;
  int port_ = 0;
};

// A loopback port that nothing listens on just now.
int FreeLoopbackPort();

}  // namespace bd::test
