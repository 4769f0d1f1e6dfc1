#pragma once
// A real HTTP server on a loopback port for tests of the network code. It
// serves one connection at a time on its own thread, records every request
// and answers each with the reply its handler chooses.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace bd::test {

struct TRecordedRequest {
  std::string Method;
  std::string Target;  // path and query as sent
  std::vector<std::pair<std::string, std::string>> Headers;

  // The value of the first header with this name (any case), or "" if absent.
  std::string Header(const std::string& name) const;
  bool HasHeader(const std::string& name) const;
};

struct TCannedReply {
  int Status = 200;
  std::string Body;
  std::vector<std::string> ExtraHeaders;  // full "Name: value" lines
  // Accept the request and never answer until the server is stopped.
  bool Silent = false;
};

// A reply with this status and body.
inline TCannedReply Answer(int status, std::string body, std::vector<std::string> extraHeaders = {}) {
  TCannedReply reply;
  reply.Status = status;
  reply.Body = std::move(body);
  reply.ExtraHeaders = std::move(extraHeaders);
  return reply;
}

// Accept and never answer.
inline TCannedReply NoAnswer() {
  TCannedReply reply;
  reply.Silent = true;
  return reply;
}

class TLoopbackServer {
 public:
  using THandler = std::function<TCannedReply(const TRecordedRequest&)>;

  explicit TLoopbackServer(THandler handler);
  ~TLoopbackServer();
  TLoopbackServer(const TLoopbackServer&) = delete;
  TLoopbackServer& operator=(const TLoopbackServer&) = delete;

  // "http://127.0.0.1:<port>"
  std::string Base() const;
  std::vector<TRecordedRequest> Requests() const;

 private:
  void Run();
  void Serve(int connection);

  THandler handler_;
  int listener_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<TRecordedRequest> requests_;
  std::thread thread_;
};

// A loopback port with nothing listening on it: connections are refused. The
// port stays bound (but not listening) while the object lives, so no other
// program can take it meanwhile.
class TRefusingPort {
 public:
  TRefusingPort();
  ~TRefusingPort();
  TRefusingPort(const TRefusingPort&) = delete;
  TRefusingPort& operator=(const TRefusingPort&) = delete;
  std::string Base() const;

 private:
  int socket_ = -1;
  uint16_t port_ = 0;
};

}  // namespace bd::test
