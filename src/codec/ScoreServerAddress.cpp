#include "codec/ScoreServerAddress.h"

#include "codec/AsciiText.h"

#include <algorithm>
#include <cctype>

namespace bd {
namespace {

// What follows the scheme; empty when the scheme is neither http nor https.
std::string_view Authority(std::string_view base) {
  for (std::string_view scheme : {"http://", "https://"})
    if (base.starts_with(scheme)) return base.substr(scheme.size());
  return {};
}

std::string_view HostOf(std::string_view authority) {
  if (authority.starts_with('[')) {
    const size_t close = authority.find(']');
    return close == std::string_view::npos ? authority : authority.substr(1, close - 1);
  }
  return authority.substr(0, authority.rfind(':'));
}

}  // namespace

bool IsScoreServerBase(std::string_view base) {
  const std::string_view authority = Authority(base);
  if (authority.empty()) return false;
  return std::none_of(authority.begin(), authority.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u <= ' ' || u == 0x7F || c == '/' || c == '?' || c == '#' || c == '"' || c == '\\';
  });
}

bool IsLoopbackScoreServer(std::string_view base) {
  if (!IsScoreServerBase(base)) return false;
  const std::string_view host = HostOf(Authority(base));
  // 127.0.0.0/8 written as dotted digits; a name that merely starts with
  // "127." is somebody's host.
  const bool loopbackV4 = host.starts_with("127.") && std::all_of(host.begin(), host.end(), [](char c) {
                            return c == '.' || std::isdigit(static_cast<unsigned char>(c));
                          });
  return EqualsNoCase(host, "localhost") || host == "::1" || loopbackV4;
}

}  // namespace bd
