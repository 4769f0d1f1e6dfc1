#include "server/Tokens.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <stdexcept>

namespace bd::server {

namespace {

constexpr size_t kNonceBytes = 16;
constexpr size_t kExpiryBytes = 8;
constexpr size_t kMacBytes = 16;  // the first half of the HMAC-SHA256
constexpr size_t kSignedBytes = kNonceBytes + kExpiryBytes;
constexpr char kHexDigits[] = "0123456789abcdef";

}  // namespace

std::string ToHex(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) {
    out.push_back(kHexDigits[b >> 4]);
    out.push_back(kHexDigits[b & 15]);
  }
  return out;
}

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;  // upper case is not how tokens are written, so it is no token
}

}  // namespace

bool FromHex(std::string_view hex, std::string& bytes) {
  if (hex.size() % 2 != 0) return false;
  bytes.clear();
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int hi = HexValue(hex[i]), lo = HexValue(hex[i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes.push_back(static_cast<char>(hi * 16 + lo));
  }
  return true;
}

std::string HmacSha256(std::string_view key, std::string_view data) {
  unsigned char mac[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (!HMAC(EVP_sha256(), key.data(), static_cast<int>(key.size()),
            reinterpret_cast<const unsigned char*>(data.data()), data.size(), mac, &length) ||
      length != 32)
    throw std::runtime_error("HMAC-SHA256 failed");
  return std::string(reinterpret_cast<const char*>(mac), length);
}

std::string RandomBytes(size_t count) {
  std::string bytes(count, '\0');
  if (count > 0 && RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int>(count)) != 1)
    throw std::runtime_error("the system's random generator failed");
  return bytes;
}

TTokenSigner::TTokenSigner(std::string secret, int64_t lifetimeMs)
    : secret_(std::move(secret)), lifetimeMs_(lifetimeMs) {
  if (secret_.empty()) throw std::invalid_argument("a token secret cannot be empty");
}

std::string TTokenSigner::Mac(std::string_view signedPart) const {
  return HmacSha256(secret_, signedPart).substr(0, kMacBytes);
}

std::string TTokenSigner::Issue(int64_t nowMs) const {
  std::string raw = RandomBytes(kNonceBytes);
  const auto expiry = static_cast<uint64_t>(nowMs + lifetimeMs_);
  for (int shift = 56; shift >= 0; shift -= 8) raw.push_back(static_cast<char>((expiry >> shift) & 0xFF));
  raw += Mac(raw);
  return ToHex(raw);
}

TTokenCheck TTokenSigner::Check(std::string_view token, int64_t nowMs) const {
  TTokenCheck check;
  std::string raw;
  if (token.size() != kTokenLength || !FromHex(token, raw)) return check;
  const std::string_view signedPart = std::string_view(raw).substr(0, kSignedBytes);
  const std::string expected = Mac(signedPart);
  if (CRYPTO_memcmp(expected.data(), raw.data() + kSignedBytes, kMacBytes) != 0) return check;

  uint64_t expiry = 0;
  for (size_t i = kNonceBytes; i < kSignedBytes; ++i)
    expiry = (expiry << 8) | static_cast<unsigned char>(raw[i]);
  check.Id = ToHex(signedPart.substr(0, kNonceBytes));
  check.ExpiresAtMs = static_cast<int64_t>(expiry);
  check.Verdict = nowMs < check.ExpiresAtMs ? TTokenVerdict::Valid : TTokenVerdict::Expired;
  return check;
}

}  // namespace bd::server
