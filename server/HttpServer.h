#pragma once
// The HTTP library's server with the limits a public service needs. Each
// connection is served through a stream that bounds every request: its
// bytes (request line, headers and body together) and the time from its
// first byte to its last. A connection waits for its next request only a
// short while, and not at all once the server is stopping.

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <string>

namespace bd::server {

struct TRequestLimits {
  size_t MaxRequestBytes = 16 * 1024;
  // The whole request must arrive within this time of its first byte.
  std::chrono::milliseconds ReadTime{10000};
  // How long a new connection may stay silent before its first request.
  std::chrono::milliseconds FirstByteWait{5000};
  // How long a kept-alive connection waits for its next request.
  std::chrono::milliseconds KeepAliveWait{5000};
  size_t MaxRequestsPerConnection = 100;
  std::chrono::milliseconds WriteWait{5000};
};

class THttpServer : public httplib::Server {
 public:
  explicit THttpServer(TRequestLimits limits);

  // Binds to `host`:`port` (0 for any free port) with a listening queue
  // fitting a busy server. Returns the port, or -1.
  int Bind(const std::string& host, int port);

  // Serves until Stop(): returns once the listening socket is closed and every
  // accepted connection's request has been answered.
  bool Serve();

  // Closes the listening socket; safe from any thread and at any time, also
  // before Serve().
  void Stop();
  bool Stopping() const { return stopping_; }

  // When the request being handled on this thread began (its first byte).
  static std::chrono::steady_clock::time_point RequestStart();

 private:
  bool process_and_close_socket(socket_t sock) override;

  TRequestLimits limits_;
  std::atomic<bool> stopping_{false};
};

}  // namespace bd::server
