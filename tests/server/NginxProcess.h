#pragma once
// A real nginx in front of score servers, as the sample deployment has it:
// a reverse proxy on a free loopback port that spreads the requests over
// the servers' ports and passes a request on to the next server when one
// does not answer. It runs in the foreground as a child of the test, with
// its configuration, logs and temporary files in a scratch directory, and
// is stopped at the end.

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace bd::test {

class TNginxProcess {
 public:
  // Starts nginx on 127.0.0.1 with `upstreamPorts` behind it (servers on
  // 127.0.0.1); returns once it takes connections. Throws
  // std::runtime_error, with its error log, when it does not start.
  explicit TNginxProcess(const std::vector<int>& upstreamPorts);
  // Starts nginx with the site that `site` writes for a listening port:
  // the text inside its http block.
  explicit TNginxProcess(const std::function<std::string(int port)>& site);
  ~TNginxProcess();
  TNginxProcess(const TNginxProcess&) = delete;
  TNginxProcess& operator=(const TNginxProcess&) = delete;

  int Port() const { return port_; }
  pid_t Pid() const { return pid_; }  // the master process
  std::string Base() const;           // "http://127.0.0.1:PORT"
  std::string ErrorLog() const;

 private:
  void Start(const std::function<std::string(int port)>& site);
  bool TryStart(const std::function<std::string(int port)>& site);
  void StopProcess();

  std::filesystem::path dir_;
  pid_t pid_ = -1;
  int port_ = 0;
};

// The public site of the sample deployment (server/deploy/
// nginx-bumperdash-scores.conf) as it would run, but on plain HTTP on
// 127.0.0.1:`port` in front of a server on `upstreamPort`: its TLS lines go,
// everything else stays as an operator would copy it.
std::string SampleSite(int port, int upstreamPort);

// A loopback port that nothing listens on just now.
int FreeLoopbackPort();

}  // namespace bd::test
