#include "server/HttpServer.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace bd::server {

namespace {

using TClock = std::chrono::steady_clock;

thread_local TClock::time_point gRequestStart = TClock::now();

// Waits until `fd` is ready for `events` or `wait` has passed.
bool WaitFor(int fd, short events, std::chrono::milliseconds wait) {
  const auto until = TClock::now() + wait;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - TClock::now());
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, static_cast<int>(std::max<int64_t>(0, left.count())));
    if (n > 0) return true;
    if (n == 0) return false;
    if (errno != EINTR) return false;
  }
}

void Address(int fd, bool peer, std::string& ip, int& port) {
  sockaddr_storage addr{};
  socklen_t length = sizeof addr;
  const int rc = peer ? ::getpeername(fd, reinterpret_cast<sockaddr*>(&addr), &length)
                      : ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length);
  std::array<char, NI_MAXHOST> host{};
  std::array<char, NI_MAXSERV> service{};
  if (rc != 0 || ::getnameinfo(reinterpret_cast<sockaddr*>(&addr), length, host.data(), host.size(), service.data(),
                               service.size(), NI_NUMERICHOST | NI_NUMERICSERV) != 0) {
    ip.clear();
    port = -1;
    return;
  }
  ip = host.data();
  port = std::atoi(service.data());
}

// One connection, read through a small buffer. Every request may read at
// most MaxRequestBytes and must be read by its deadline; a read past either
// fails, and the library then closes the connection.
class TBoundedStream final : public httplib::Stream {
 public:
  TBoundedStream(int fd, const TRequestLimits& limits) : fd_(fd), limits_(limits) {}

  // Waits up to `wait` for the next request to begin; false when none came,
  // the peer closed, or `stop` was raised meanwhile.
  bool AwaitRequest(std::chrono::milliseconds wait, const std::atomic<bool>* stop) {
    const auto until = TClock::now() + wait;
    while (pos_ == end_) {
      if (stop && *stop) return false;
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - TClock::now());
      if (left.count() <= 0) return false;
      if (!WaitFor(fd_, POLLIN, std::min(left, std::chrono::milliseconds(100)))) continue;
      if (Fill() <= 0) return false;
    }
    requestBytes_ = 0;
    gRequestStart = TClock::now();
    deadline_ = gRequestStart + limits_.ReadTime;
    return true;
  }

  bool is_readable() const override { return pos_ < end_ || WaitFor(fd_, POLLIN, Left()); }
  bool is_writable() const override { return WaitFor(fd_, POLLOUT, limits_.WriteWait); }

  ssize_t read(char* ptr, size_t size) override {
    if (requestBytes_ >= limits_.MaxRequestBytes) return Broken();
    if (pos_ == end_) {
      if (!WaitFor(fd_, POLLIN, Left())) return Broken();
      const ssize_t n = Fill();
      if (n < 0) return Broken();
      if (n == 0) return 0;
    }
    const size_t n = std::min({size, end_ - pos_, limits_.MaxRequestBytes - requestBytes_});
    std::memcpy(ptr, buffer_.data() + pos_, n);
    pos_ += n;
    requestBytes_ += n;
    return static_cast<ssize_t>(n);
  }

  ssize_t write(const char* ptr, size_t size) override {
    if (!WaitFor(fd_, POLLOUT, limits_.WriteWait)) return -1;
    for (;;) {
      const ssize_t n = ::send(fd_, ptr, size, MSG_NOSIGNAL);
      if (n < 0 && errno == EINTR) continue;
      return n;
    }
  }

  void get_remote_ip_and_port(std::string& ip, int& port) const override { Address(fd_, true, ip, port); }
  void get_local_ip_and_port(std::string& ip, int& port) const override { Address(fd_, false, ip, port); }
  socket_t socket() const override { return fd_; }

  // A read failed (too late, too much, or an error): whatever the library
  // answers, the connection is closed after it.
  bool IsBroken() const { return broken_; }

 private:
  ssize_t Broken() {
    broken_ = true;
    return -1;
  }

  std::chrono::milliseconds Left() const {
    return std::max(std::chrono::milliseconds(0),
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - TClock::now()));
  }

  // Reads what has arrived into the empty buffer: >0 bytes, 0 at the end, -1 on error.
  ssize_t Fill() {
    for (;;) {
      const ssize_t n = ::recv(fd_, buffer_.data(), buffer_.size(), 0);
      if (n < 0 && errno == EINTR) continue;
      pos_ = 0;
      end_ = n > 0 ? static_cast<size_t>(n) : 0;
      return n;
    }
  }

  int fd_;
  const TRequestLimits& limits_;
  std::array<char, 4096> buffer_{};
  size_t pos_ = 0;
  size_t end_ = 0;
  size_t requestBytes_ = 0;
  bool broken_ = false;
  TClock::time_point deadline_ = TClock::now();
};

}  // namespace

THttpServer::THttpServer(TRequestLimits limits) : limits_(limits) {
  set_payload_max_length(limits_.MaxRequestBytes);
  // What the replies' Keep-Alive header tells the client.
  set_keep_alive_max_count(limits_.MaxRequestsPerConnection);
  set_keep_alive_timeout(std::chrono::duration_cast<std::chrono::seconds>(limits_.KeepAliveWait).count());
  set_write_timeout(std::chrono::duration_cast<std::chrono::seconds>(limits_.WriteWait).count());
  // The library's default lets any number of servers share a port (the
  // kernel then splits the connections between them): a second server
  // started by mistake would go unnoticed. The address may be taken again at
  // once after a stop, but only by one server at a time.
  set_socket_options([](socket_t sock) {
    int yes = 1;
    ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
}

int THttpServer::Bind(const std::string& host, int port) {
  const int bound = port == 0 ? bind_to_any_port(host) : (bind_to_port(host, port) ? port : -1);
  // The library listens with a queue of 5 connections; a burst of players
  // would see refused or stalled connections, so make it a usual size.
  if (bound >= 0) ::listen(svr_sock_, SOMAXCONN);
  return bound;
}

bool THttpServer::Serve() {
  if (stopping_) return true;
  return listen_after_bind();
}

void THttpServer::Stop() {
  stopping_ = true;
  // What the library's stop() does, but also before the server runs, so a
  // stop that comes early is not lost.
  const socket_t sock = svr_sock_.exchange(INVALID_SOCKET);
  if (sock != INVALID_SOCKET) {
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
  }
}

std::chrono::steady_clock::time_point THttpServer::RequestStart() { return gRequestStart; }

bool THttpServer::process_and_close_socket(socket_t sock) {
  // A reply goes out in a few writes (headers, body); without this the
  // client's delayed acknowledgement holds the second one back 40 ms.
  const int on = 1;
  ::setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  TBoundedStream stream(sock, limits_);
  bool ok = true;
  for (size_t served = 0; served < limits_.MaxRequestsPerConnection; ++served) {
    // A connection accepted before a stop still gets its request answered;
    // an idle kept-alive one is closed at once.
    const bool first = served == 0;
    if (!stream.AwaitRequest(first ? limits_.FirstByteWait : limits_.KeepAliveWait, first ? nullptr : &stopping_))
      break;
    const bool closeAfter = served + 1 == limits_.MaxRequestsPerConnection || stopping_;
    bool closedByClient = false;
    ok = process_request(stream, closeAfter, closedByClient, nullptr);
    if (!ok || closedByClient || closeAfter || stream.IsBroken()) break;
  }
  ::shutdown(sock, SHUT_RDWR);
  ::close(sock);
  return ok;
}

}  // namespace bd::server
