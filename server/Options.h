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
  std::filesystem::path WebDir;    // empty: DefaultWebDir()
  double TokenMinutes = 15;
  int ReportsPerMinute = 10;          // per client address; 0: no limit
  bool BehindProxy = false;           // client addresses from a local proxy's X-Forwarded-For
  int Threads = 64;                   // each handles one request at a time
  int MaxConnections = 4096;          // open at once
  int MaxConnectionsPerAddress = 32;  // from one client address (IPv6: its /64)
  double ReadSeconds = 10;            // the most one request may take to arrive

  // Checked scores.
  bool CheckedOnly = false;       // refuse reports that come without a recording
  bool RefuseOwnSeed = false;     // refuse recordings on a seed the game chose itself
  double SeedHours = 6;           // how long a seed's ticket stays good: the longest game and its report
  std::string CheckCommand;       // the checking worker; empty: this program's check-recording
  std::filesystem::path RacePictures;  // the race's pictures for this program's checker; empty: DefaultRacePictures()
  int CheckWorkers = 0;           // checks at once; 0: one per processor core
  int CheckQueue = 8;             // checks waiting for a worker, at most
  double CheckWaitSeconds = 1.5;  // the most a check waits for a worker
  double CheckSeconds = 2;        // the most one check may take, wall clock
  int CheckCpuSeconds = 2;        // processor time of one check
  int CheckMemoryMb = 512;        // address space of one check; 0: no limit
  int CheckFrames = 240000;       // race frames one check plays at most
};

// Reads the command line. Returns an exit status when the program should
// stop at once: 0 after --help or --version (printed to standard output),
// 2 after a usage error (explained on standard error).
std::optional<int> ParseOptions(int argc, const char* const* argv, TServerOptions& options);

}  // namespace bd::server
