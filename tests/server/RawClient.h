#pragma once
// HTTP as an attacker writes it: raw bytes on a socket, from any loopback
// source address (all of 127.0.0.0/8 is this machine), so a test can be many
// clients at once; and what the server's process holds in memory.

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace bd::test {

// A TCP connection to 127.0.0.1:`port` from `source`; -1 when it fails.
// A non-blocking one returns at once, its connection under way.
int ConnectFrom(const std::string& source, int port, bool blocking = true);

// Sends `bytes` on a new connection from `source` and reads until the
// server closes it or `wait` has passed; everything the server sent.
std::string Exchange(int port, const std::string& bytes, std::chrono::milliseconds wait,
                     const std::string& source = "127.0.0.1");

// The statuses of the replies in `raw`, in order (a pipelined exchange
// holds several).
std::vector<int> ReplyStatuses(const std::string& raw);

// The body of the first reply in `raw` (after its blank line, to the end
// or to its Content-Length).
std::string FirstBody(const std::string& raw);

// One GET on its own connection, as the game makes it; the time until the
// whole reply had arrived, or nothing when it failed or took over `wait`.
struct TTimedReply {
  int Status = 0;
  double Milliseconds = 0;
};
TTimedReply TimedGet(int port, const std::string& target, std::chrono::milliseconds wait);

// The process's resident memory now and at its peak, in KiB.
size_t ResidentKb(pid_t pid);
size_t PeakResidentKb(pid_t pid);

// Lets this process open as many descriptors as the system allows it.
void RaiseOpenFileLimit();

// The value below which `share` of `values` lie (0.99: the 99th percentile).
double Percentile(std::vector<double> values, double share);

}  // namespace bd::test
