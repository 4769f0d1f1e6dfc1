#include "server/SecurityHeaders.h"

#include <openssl/evp.h>
#include <openssl/sha.h>

#include <array>

namespace bd::server {

std::string CspHash(std::string_view content) {
  std::array<unsigned char, SHA256_DIGEST_LENGTH> digest{};
  SHA256(reinterpret_cast<const unsigned char*>(content.data()), content.size(), digest.data());
  std::array<unsigned char, 4 * ((SHA256_DIGEST_LENGTH + 2) / 3) + 1> base64{};
  EVP_EncodeBlock(base64.data(), digest.data(), static_cast<int>(digest.size()));
  return "'sha256-" + std::string(reinterpret_cast<const char*>(base64.data())) + "'";
}

std::vector<std::pair<std::string, std::string>> SecurityHeaders(std::string_view style) {
  return {
      {"X-Content-Type-Options", "nosniff"},
      {"Content-Security-Policy", "default-src 'none'; img-src 'self'; style-src " + CspHash(style) +
                                      "; base-uri 'none'; form-action 'self'; frame-ancestors 'none'"},
      // For browsers that know no frame-ancestors.
      {"X-Frame-Options", "DENY"},
      {"Referrer-Policy", "no-referrer"},
  };
}

}  // namespace bd::server
