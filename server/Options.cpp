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
  app.add_flag("--checked-only", options.CheckedOnly,
               "take only reports that come with the race's recording and pass its check");
  app.add_flag(
      "--refuse-own-seed", options.RefuseOwnSeed,
      "refuse recordings of races on a seed the game chose itself (when it could not reach the server)");
  app.add_option("--seed-hours", options.SeedHours,
                 "how long a race's seed ticket stays good, in hours: the longest game with its report")
      ->capture_default_str()
      ->check(CLI::Range(0.01, 240.0));
  app.add_option(
      "--check-command", options.CheckCommand,
      "the command that checks one recording (program and arguments, split at spaces), for tests and "
      "for operators who run the checker elsewhere; default: this program's check-recording");
  app.add_option("--race-pictures", options.RacePictures,
                 "the game's race pictures (its Data/GraphicsMain.dxg) that this program's checker plays "
                 "with; default: the game's data beside this program, else /usr/share/bumperdash");
  app.add_option("--check-workers", options.CheckWorkers,
                 "recordings checked at once; 0 for one per processor core")
      ->capture_default_str()
      ->check(CLI::Range(0, 1024));
  app.add_option("--check-queue", options.CheckQueue,
                 "recordings waiting for a free checker, at most; one more is refused at once")
      ->capture_default_str()
      ->check(CLI::Range(0, 100000));
  app.add_option("--check-wait-seconds", options.CheckWaitSeconds,
                 "the most a recording waits for a free checker, in seconds")
      ->capture_default_str()
      ->check(CLI::Range(0.0, 60.0));
  app.add_option("--check-seconds", options.CheckSeconds,
                 "the most one check may take, wall clock, in seconds; the checker is killed after")
      ->capture_default_str()
      ->check(CLI::Range(0.05, 600.0));
  app.add_option("--check-cpu-seconds", options.CheckCpuSeconds,
                 "processor time one check may use, in seconds")
      ->capture_default_str()
      ->check(CLI::Range(1, 3600));
  app.add_option("--check-memory-mb", options.CheckMemoryMb,
                 "address space one check may use, in MiB; 0 for no limit")
      ->capture_default_str()
      ->check(CLI::Range(0, 1 << 20));
  app.add_option("--check-frames", options.CheckFrames, "race frames one check plays at most")
      ->capture_default_str()
      ->check(CLI::Range(1, 1 << 30));
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
