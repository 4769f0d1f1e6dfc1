#pragma once
// The address a report counts against in the rate limit.

#include <string>
#include <string_view>

namespace bd::server {

// The connection's own address, `peer`; or, for a server behind a reverse
// proxy on this machine (`behindProxy`, and the connection comes from a
// loopback address), the last address of the proxy's X-Forwarded-For header:
// the one the proxy itself saw. A header from anywhere else is ignored, so
// a player cannot pick the address the limit counts.
std::string ClientAddress(std::string_view peer, std::string_view forwardedFor, bool behindProxy);

}  // namespace bd::server
