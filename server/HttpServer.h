#pragma once
// The server's HTTP front: one thread waits on every connection at once
// (epoll) and reads and writes them as their bytes come and go; a pool of
// threads runs the handler, each on a whole request head that has arrived.
// A connection that is silent, slow or idle therefore holds no thread, only
// a little memory, and every connection is timed from the moment it was
// accepted. Connections are limited in total and per client address; a
// connection over a limit gets a short 503 and is closed.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "server/HttpRequest.h"
#include "server/HttpResponse.h"

namespace bd::server {

struct TConnectionLimits {
  // A request head (request line and fields), at most.
  size_t MaxRequestBytes = 16 * 1024;
  // A POST's body, at most; a longer one is answered 413 unread.
  size_t MaxBodyBytes = 256 * 1024;
  // From the accept to the first byte of the first request.
  std::chrono::milliseconds FirstByteWait{5000};
  // From a request's first byte to the end of its head (and its body).
  std::chrono::milliseconds ReadTime{10000};
  // From a reply to the first byte of the next request on the connection.
  std::chrono::milliseconds KeepAliveWait{5000};
  // The most a client may take to receive one reply.
  std::chrono::milliseconds WriteWait{5000};
  size_t MaxRequestsPerConnection = 100;
  // Open connections at most, in total and from one client address (an
  // IPv6 address counts by its /64 network, which one subscriber holds).
  size_t MaxConnections = 4096;
  size_t MaxConnectionsPerAddress = 32;
  // Loopback connections are not limited per address: they are a proxy's,
  // carrying many players (the total limit still holds).
  bool LoopbackUnlimited = false;
};

class THttpServer {
 public:
  // Runs on a pool thread for each request; may block (a report waits for
  // its commit). An exception becomes a 500.
  using THandler = std::function<THttpResponse(const THttpRequest&)>;
  // Told of each reply the front gives by itself (a malformed or too large
  // request, one that arrived too slowly), for the log.
  using TFrontReplyLog = std::function<void(int status, std::string_view reason)>;

  THttpServer(TConnectionLimits limits, size_t threads, THandler handler, TFrontReplyLog log = {});
  ~THttpServer();
  THttpServer(const THttpServer&) = delete;
  THttpServer& operator=(const THttpServer&) = delete;

  // Binds to `host`:`port` (0 for any free port). Returns the port, or -1.
  int Bind(const std::string& host, int port);

  // Serves until Stop(): returns once the listening socket is closed and
  // every request that had begun to arrive has been answered.
  bool Serve();

  // Closes the listening socket; safe from any thread and at any time, also
  // before Serve().
  void Stop();
  bool Stopping() const { return stopping_; }

  // Fields every reply carries (security headers): set before Serve().
  void SetCommonHeaders(std::vector<std::pair<std::string, std::string>> fields);

  struct TCounts {
    uint64_t Refused = 0;   // connections over a limit
    uint64_t TimedOut = 0;  // requests that did not arrive in time
  };
  // The counts since the previous call.
  TCounts TakeCounts();

  // Connections open now (for tests and the log).
  size_t OpenConnections() const { return open_; }

 private:
  class TLoop;
  TConnectionLimits limits_;
  size_t threads_;
  THandler handler_;
  TFrontReplyLog log_;
  std::vector<std::pair<std::string, std::string>> common_;
  std::atomic<int> listenFd_{-1};
  int wakeFd_ = -1;
  std::atomic<bool> stopping_{false};
  std::atomic<uint64_t> refused_{0};
  std::atomic<uint64_t> timedOut_{0};
  std::atomic<size_t> open_{0};
};

}  // namespace bd::server
