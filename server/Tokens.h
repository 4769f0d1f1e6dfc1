#pragma once
// The tokens a version check hands out and a score report must carry. A
// token is signed rather than remembered: 16 random bytes and the expiry
// time, followed by an HMAC-SHA256 of both under a secret kept in the
// database, all written as lower-case hex. Any server that shares the
// database can check it without a lookup; that a token is used only once is
// recorded when its report is stored (see IScoreStore::Store).

#include <cstdint>
#include <string>
#include <string_view>

namespace bd::server {

// `count` bytes from the system's cryptographic generator; throws
// std::runtime_error when it cannot deliver.
std::string RandomBytes(size_t count);

// The HMAC-SHA256 of `data` under `key` (32 bytes); throws
// std::runtime_error when the library fails.
std::string HmacSha256(std::string_view key, std::string_view data);

// Bytes as lower-case hex, and back; FromHex is false for anything but
// lower-case hex of whole bytes.
std::string ToHex(std::string_view bytes);
bool FromHex(std::string_view hex, std::string& bytes);

enum class TTokenVerdict {
  Valid,
  Unknown,  // not made by a server with this secret (or damaged)
  Expired,
};

struct TTokenCheck {
  TTokenVerdict Verdict = TTokenVerdict::Unknown;
  std::string Id;           // the random part, in hex: what "used once" is keyed on
  int64_t ExpiresAtMs = 0;  // valid until then, in ms since 1970 UTC
};

class TTokenSigner {
 public:
  // The length of every token in characters.
  static constexpr size_t kTokenLength = (16 + 8 + 16) * 2;

  // `secret` is the key (any length, 32 random bytes in practice);
  // `lifetimeMs` how long a token stays valid after it is issued.
  TTokenSigner(std::string secret, int64_t lifetimeMs);

  int64_t LifetimeMs() const { return lifetimeMs_; }

  // A fresh token, valid until `nowMs` + the lifetime.
  std::string Issue(int64_t nowMs) const;

  // Whether `token` is one of ours and still valid at `nowMs`.
  TTokenCheck Check(std::string_view token, int64_t nowMs) const;

 private:
  std::string Mac(std::string_view signedPart) const;

  std::string secret_;
  int64_t lifetimeMs_;
};

}  // namespace bd::server
