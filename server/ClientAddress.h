#pragma once
// Client addresses: read as IPv4 or IPv6 addresses, never as free text, and
// the key each one counts under in the limits.

#include <optional>
#include <string>
#include <string_view>

namespace bd::server {

// `text` as an address in its usual numeric form ("203.0.113.7",
// "2001:db8::5"); an IPv4 address mapped into IPv6 ("::ffff:1.2.3.4") as the
// IPv4 one. Nothing when `text` is not an address.
std::optional<std::string> CanonicalAddress(std::string_view text);

// Whether a canonical address is this machine's own (127.0.0.0/8, ::1).
bool IsLoopbackAddress(std::string_view canonical);

// What a canonical address counts under in the connection and report
// limits: an IPv4 address itself; an IPv6 address by its /64 network, since
// one subscriber is given a whole /64 and could otherwise take a new
// address for every request.
std::string LimitKey(std::string_view canonical);

// The address a report counts against: the connection's own, `peer`; or,
// for a server behind a reverse proxy on this machine (`behindProxy`, and
// the connection comes from a loopback address), the last address of the
// proxy's X-Forwarded-For header, the one the proxy itself saw. A header
// from anywhere else is ignored, so a player cannot pick the address the
// limit counts, and an entry that is not an address leaves the peer's.
std::string ClientAddress(std::string_view peer, std::string_view forwardedFor, bool behindProxy);

}  // namespace bd::server
