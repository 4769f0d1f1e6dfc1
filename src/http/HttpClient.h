#pragma once
// A small blocking HTTP client for the game's two requests to the score
// server. One client keeps one connection handle and one cookie store for its
// whole life, so a cookie set by one reply goes back with the next request.

#include <cstddef>
#include <memory>
#include <string>

#include "engine/base/Errors.h"

namespace bd {

// The request could not be completed: no connection, a time-out, a reply
// that could not be read or was too large.
class EHttpConnectError : public EError {
 public:
  explicit EHttpConnectError(const std::string& message) : EError("EHttpConnectError", message) {}
};

// The server answered with an error status (400 and above).
class EHttpStatusError : public EError {
 public:
  EHttpStatusError(long status, const std::string& message)
      : EError("EHttpStatusError", message), status_(status) {}
  long Status() const { return status_; }

 private:
  long status_;
};

struct THttpOptions {
  // The game's user interface waits for every request, so neither setting up
  // the connection nor the whole exchange may take longer than a few seconds.
  long ConnectTimeoutMs = 3000;
  long TotalTimeoutMs = 5000;
  // Replies larger than this are refused rather than held in memory.
  std::size_t MaxBodyBytes = 1 << 20;
};

// What the score report needs of a client: a GET of a full address.
class IHttpGet {
 public:
  virtual ~IHttpGet() = default;
  // Returns the reply body byte for byte; throws EHttpConnectError or
  // EHttpStatusError when the request fails.
  virtual std::string Get(const std::string& address) = 0;
};

class THttpClient final : public IHttpGet {
 public:
  explicit THttpClient(const THttpOptions& options = {});
  ~THttpClient() override;
  THttpClient(const THttpClient&) = delete;
  THttpClient& operator=(const THttpClient&) = delete;

  std::string Get(const std::string& address) override;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> impl_;
};

}  // namespace bd
