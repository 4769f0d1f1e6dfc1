#include "server/ClientAddress.h"

namespace bd::server {
namespace {

bool IsLoopback(std::string_view address) {
  return address.starts_with("127.") || address == "::1" || address.starts_with("::ffff:127.");
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string ClientAddress(std::string_view peer, std::string_view forwardedFor, bool behindProxy) {
  if (!behindProxy || !IsLoopback(peer)) return std::string(peer);
  const size_t comma = forwardedFor.rfind(',');
  const std::string_view last = Trimmed(comma == std::string_view::npos ? forwardedFor : forwardedFor.substr(comma + 1));
  return last.empty() ? std::string(peer) : std::string(last);
}

}  // namespace bd::server
