#pragma once
// The server's command line.

#include <filesystem>
#include <optional>
#include <string>

namespace bd::server {

struct TListenAddress {
  std::string Host;  // as given, without the brackets of an IPv6 address
  int Port = 0;      // 0: any free port
};

// "127.0.0.1:8080", "0.0.0.0:0", "[::1]:8080", "localhost:80"; nothing when
// the text is not a host and a port from 0 to 65535.
std::optional<TListenAddress> ParseListenAddress(const std::string& text);

struct TServerOptions {
  TListenAddress Listen;
  std::filesystem::path Database;  // an SQLite file, or a postgresql:// address
  std::filesystem::path WebDir;  // empty: DefaultWebDir()
  double TokenMinutes = 15;
  int ReportsPerMinute = 10;  // per client address; 0: no limit
  bool BehindProxy = false;   // client addresses from a local proxy's X-Forwarded-For
  int Threads = 64;  // each handles one request at a time
  int MaxConnections = 4096;          // open at once
  int MaxConnectionsPerAddress = 32;  // from one client address (IPv6: its /64)
  double ReadSeconds = 10;  // the most one request may take to arrive
};

// Reads the command line. Returns an exit status when the program should
// stop at once: 0 after --help or --version (printed to standard output),
// 2 after a usage error (explained on standard error).
std::optional<int> ParseOptions(int argc, const char* const* argv, TServerOptions& options);

}  // namespace bd::server
