#include "server/Options.h"

#include <CLI/CLI.hpp>
#include <charconv>

namespace bd::server {

std::optional<TListenAddress> ParseListenAddress(const std::string& text) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return std::nullopt;
  std::string host = text.substr(0, colon);
  const std::string port = text.substr(colon + 1);
  if (host.front() == '[') {
    if (host.size() < 3 || host.back() != ']') return std::nullopt;
    host = host.substr(1, host.size() - 2);
  } else if (host.find(':') != std::string::npos) {
    return std::nullopt;  // an IPv6 address needs its brackets
  }
  int value = -1;
  const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
  if (port.empty() || port.size() > 5 || error != std::errc() || end != port.data() + port.size() ||
      value < 0 || value > 65535)
    return std::nullopt;
  return TListenAddress{host, value};
}

std::optional<int> ParseOptions(int argc, const char* const* argv, TServerOptions& options) {
  CLI::App app{
      "bumperdash-scores: the online high-score server of Bumper Dash. It hands out report tokens, stores "
      "the "
      "scores the game reports in an SQLite or PostgreSQL database and shows the best 100 as a web page."};
  app.set_version_flag("--version", "bumperdash-scores 1.0");
  std::string listen;
  app.add_option("--listen", listen, "ADDRESS:PORT to serve HTTP on; port 0 takes any free port")
      ->required()
      ->check([](const std::string& text) {
        return ParseListenAddress(text) ? std::string() : "expected ADDRESS:PORT, such as 127.0.0.1:8080";
      });
  app.add_option("--database", options.Database,
                 "SQLite database file, created when it does not exist; or a PostgreSQL database shared by "
                 "several servers, as postgresql://USER@HOST:PORT/NAME")
      ->required();
  app.add_option("--web-dir", options.WebDir,
                 "directory with logo.png and favicon.png (default: www beside this program)");
  app.add_option("--token-minutes", options.TokenMinutes, "how long a report token stays valid, in minutes")
      ->capture_default_str()
      ->check(CLI::Range(0.001, 1440.0));
  app.add_option("--reports-per-minute", options.ReportsPerMinute,
                 "score reports taken from one client address per minute; 0 for no limit")
      ->capture_default_str()
      ->check(CLI::Range(0, 1000000));
  app.add_flag("--behind-proxy", options.BehindProxy,
               "a reverse proxy on this machine passes the players' connections on: their addresses, for the "
               "report limit, come from its X-Forwarded-For header");
  app.add_option("--max-connections", options.MaxConnections, "connections open at once, at most")
      ->capture_default_str()
      ->check(CLI::Range(1, 1000000));
  app.add_option(
         "--max-connections-per-address", options.MaxConnectionsPerAddress,
         "connections open at once from one client address (an IPv6 client: its /64 network), at most; "
         "with --behind-proxy the proxy's own connections are not limited by this")
      ->capture_default_str()
      ->check(CLI::Range(1, 1000000));
  app.add_option("--threads", options.Threads, "threads answering requests (a waiting connection holds none)")
      ->capture_default_str()
      ->check(CLI::Range(1, 1024));
  app.add_option("--read-seconds", options.ReadSeconds, "the most one request may take to arrive, in seconds")
      ->capture_default_str()
      ->check(CLI::Range(0.1, 600.0));
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? 0 : 2;
  }
  options.Listen = *ParseListenAddress(listen);
  return std::nullopt;
}

}  // namespace bd::server
