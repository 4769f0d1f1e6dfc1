#pragma once
// The score server's base address, "scheme://host[:port]": whether a text is
// one, and whether it names this machine (a server the launcher runs beside
// the game, whose table no one else can see) or a public one.

#include <string_view>

namespace bd {

// http:// or https:// followed by a host (and port) without a path, query,
// fragment, quote, backslash, space or control character.
bool IsScoreServerBase(std::string_view base);

// The host is a loopback address: localhost, 127.x.x.x or [::1].
bool IsLoopbackScoreServer(std::string_view base);

}  // namespace bd
