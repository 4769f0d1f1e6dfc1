#include "server/ClientAddress.h"

#include <arpa/inet.h>

#include <array>
#include <cstring>

#include "codec/AsciiText.h"

namespace bd::server {
std::optional<std::string> CanonicalAddress(std::string_view text) {
  // The longest IPv6 text with an embedded IPv4 address has 45 characters.
  if (text.empty() || text.size() > 45) return std::nullopt;
  const std::string copy(text);
  std::array<char, INET6_ADDRSTRLEN> out{};
  in_addr v4{};
  if (::inet_pton(AF_INET, copy.c_str(), &v4) == 1) return ::inet_ntop(AF_INET, &v4, out.data(), out.size());
  in6_addr v6{};
  if (::inet_pton(AF_INET6, copy.c_str(), &v6) != 1) return std::nullopt;
  if (IN6_IS_ADDR_V4MAPPED(&v6)) {
    std::memcpy(&v4, v6.s6_addr + 12, 4);
    return ::inet_ntop(AF_INET, &v4, out.data(), out.size());
  }
  return ::inet_ntop(AF_INET6, &v6, out.data(), out.size());
}

bool IsLoopbackAddress(std::string_view canonical) {
  return canonical.starts_with("127.") || canonical == "::1";
}

std::string LimitKey(std::string_view canonical) {
  const std::string copy(canonical);
  in6_addr v6{};
  if (canonical.find(':') == std::string_view::npos || ::inet_pton(AF_INET6, copy.c_str(), &v6) != 1)
    return copy;
  std::memset(v6.s6_addr + 8, 0, 8);
  std::array<char, INET6_ADDRSTRLEN> out{};
  return std::string(::inet_ntop(AF_INET6, &v6, out.data(), out.size())) + "/64";
}

std::string ClientAddress(std::string_view peer, std::string_view forwardedFor, bool behindProxy) {
  if (!behindProxy || !IsLoopbackAddress(peer)) return std::string(peer);
  const size_t comma = forwardedFor.rfind(',');
  const std::string_view last =
      TrimBlanks(comma == std::string_view::npos ? forwardedFor : forwardedFor.substr(comma + 1));
  return CanonicalAddress(last).value_or(std::string(peer));
}

}  // namespace bd::server
