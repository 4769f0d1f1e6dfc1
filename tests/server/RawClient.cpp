#include "RawClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>

namespace bd::test {

namespace {

using TClock = std::chrono::steady_clock;

size_t StatusField(pid_t pid, const std::string& name) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line))
    if (line.starts_with(name + ":")) return std::stoul(line.substr(name.size() + 1));
  return 0;
}

}  // namespace

int ConnectFrom(const std::string& source, int port, bool blocking) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (blocking ? 0 : SOCK_NONBLOCK), 0);
  if (fd < 0) return -1;
  sockaddr_in from{};
  from.sin_family = AF_INET;
  ::inet_pton(AF_INET, source.c_str(), &from.sin_addr);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<uint16_t>(port));
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0 ||
      (::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0 && errno != EINPROGRESS)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::string Exchange(int port, const std::string& bytes, std::chrono::milliseconds wait,
                     const std::string& source) {
  const int fd = ConnectFrom(source, port);
  if (fd < 0) return {};
  std::string received;
  if (::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size())) {
    const auto until = TClock::now() + wait;
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - TClock::now()).count();
      pollfd p{fd, POLLIN, 0};
      if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) break;
      char chunk[65536];
      const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
      if (n <= 0) break;
      received.append(chunk, static_cast<size_t>(n));
    }
  }
  ::close(fd);
  return received;
}

std::vector<int> ReplyStatuses(const std::string& raw) {
  std::vector<int> statuses;
  static const std::regex kStatusLine(R"((^|\n)HTTP/1\.[01] (\d{3}) )");
  for (auto it = std::sregex_iterator(raw.begin(), raw.end(), kStatusLine); it != std::sregex_iterator();
       ++it)
    statuses.push_back(std::stoi((*it)[2]));
  return statuses;
}

std::string FirstBody(const std::string& raw) {
  const size_t blank = raw.find("\r\n\r\n");
  if (blank == std::string::npos) return {};
  std::smatch m;
  const std::string head = raw.substr(0, blank);
  static const std::regex kLength(R"(\r\nContent-Length: (\d+))", std::regex::icase);
  const std::string body = raw.substr(blank + 4);
  if (std::regex_search(head, m, kLength)) return body.substr(0, std::stoul(m[1]));
  return body;
}

TTimedReply TimedGet(int port, const std::string& target, std::chrono::milliseconds wait) {
  const auto start = TClock::now();
  const std::string raw =
      Exchange(port, "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n", wait);
  const auto statuses = ReplyStatuses(raw);
  TTimedReply reply;
  reply.Milliseconds = std::chrono::duration<double, std::milli>(TClock::now() - start).count();
  if (statuses.size() == 1 && reply.Milliseconds < static_cast<double>(wait.count()))
    reply.Status = statuses[0];
  return reply;
}

size_t ResidentKb(pid_t pid) { return StatusField(pid, "VmRSS"); }
size_t PeakResidentKb(pid_t pid) { return StatusField(pid, "VmHWM"); }

void RaiseOpenFileLimit() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
  }
}

double Percentile(std::vector<double> values, double share) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto index = static_cast<size_t>(std::ceil(share * static_cast<double>(values.size()))) - 1;
  return values[std::min(index, values.size() - 1)];
}

}  // namespace bd::test
