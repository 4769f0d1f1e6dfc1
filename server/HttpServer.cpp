#include "server/HttpServer.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

#include "server/ClientAddress.h"

namespace bd::server {

namespace {

using TClock = std::chrono::steady_clock;

// The reply to a connection over a limit, sent without reading its request.
constexpr std::string_view kBusyReply =
    "HTTP/1.1 503 Service Unavailable\r\nContent-Type: text/plain; charset=utf-8\r\nRetry-After: 5\r\n"
    "Content-Length: 39\r\nConnection: close\r\n\r\ntoo many connections: try again shortly\n";

// How long a closed-for-error connection may keep sending before it is cut:
// reading what it sends meanwhile lets the refusal reach it instead of being
// lost to a reset.
constexpr std::chrono::milliseconds kDrainTime{1000};

// Lets the server hold as many connections as the system allows it.
size_t RaiseOpenFileLimit() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return 1024;
  if (limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
    ::getrlimit(RLIMIT_NOFILE, &limit);
  }
  return limit.rlim_cur == RLIM_INFINITY ? 1u << 20 : static_cast<size_t>(limit.rlim_cur);
}

std::string NumericPeer(const sockaddr_storage& addr, socklen_t length) {
  std::array<char, NI_MAXHOST> host{};
  if (::getnameinfo(reinterpret_cast<const sockaddr*>(&addr), length, host.data(), host.size(), nullptr, 0,
                    NI_NUMERICHOST) != 0)
    return {};
  // A dual-stack socket shows IPv4 players as ::ffff:a.b.c.d.
  return CanonicalAddress(host.data()).value_or(host.data());
}

enum class TPhase { Reading, Handling, Writing, Draining };

struct TConnection {
  int Fd = -1;
  uint64_t Id = 0;
  std::string Peer;
  std::string AddressKey;  // empty when not counted per address
  TPhase Phase = TPhase::Reading;
  uint32_t Events = 0;  // what epoll watches for; 0 when not registered
  std::string In;
  std::string Out;
  size_t Sent = 0;
  bool CloseAfterWrite = false;
  size_t Served = 0;
  bool RequestBegun = false;
  // A request whose head has arrived and whose body is still on its way.
  std::optional<THttpRequest> AwaitingBody;
  bool PeerClosed = false;  // the client sends no more
  TClock::time_point RequestStart;
  TClock::time_point Deadline;
};

struct TJob {
  int Fd;
  uint64_t Id;
  THttpRequest Request;
  size_t Served;  // requests answered on the connection before this one
};

struct TDone {
  int Fd;
  uint64_t Id;
  std::string Bytes;
  bool Close;
};

}  // namespace

// One Serve() call: the event loop and its pool of handler threads.
class THttpServer::TLoop {
 public:
  explicit TLoop(THttpServer& server) : s_(server), limits_(server.limits_) {
    epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
    // Some descriptors stay for the database, the log and the pool.
    const size_t files = RaiseOpenFileLimit();
    maxConnections_ = std::min(limits_.MaxConnections, files > 128 ? files - 128 : 1);
  }
  ~TLoop() {
    for (auto& [fd, c] : connections_) ::close(fd);
    s_.open_ = 0;
    if (epoll_ >= 0) ::close(epoll_);
  }

  bool Run() {
    if (epoll_ < 0) return false;
    Watch(s_.wakeFd_, EPOLLIN);
    bool listening = s_.listenFd_ >= 0;
    if (listening) Watch(s_.listenFd_, EPOLLIN);
    for (size_t i = 0; i < std::max<size_t>(1, s_.threads_); ++i) workers_.emplace_back([this] { Work(); });

    std::array<epoll_event, 256> events{};
    auto nextSweep = TClock::now();
    TClock::time_point resumeAccept{};
    bool acceptPaused = false;
    for (;;) {
      if (s_.stopping_ && listening) {
        listening = false;
        CloseListening();
        CloseIdle();
      }
      if (!listening && connections_.empty()) break;
      const int n = ::epoll_wait(epoll_, events.data(), static_cast<int>(events.size()), 50);
      if (n < 0 && errno != EINTR) break;
      for (int i = 0; i < n; ++i) {
        const int fd = events[i].data.fd;
        if (fd == s_.wakeFd_) {
          uint64_t count;
          [[maybe_unused]] const auto r = ::read(s_.wakeFd_, &count, sizeof count);
          TakeDone();
        } else if (fd == s_.listenFd_) {
          if (listening && !AcceptAll()) {
            // Out of descriptors: try again shortly rather than spin.
            ::epoll_ctl(epoll_, EPOLL_CTL_DEL, s_.listenFd_, nullptr);
            acceptPaused = true;
            resumeAccept = TClock::now() + std::chrono::milliseconds(100);
          }
        } else if (auto it = connections_.find(fd); it != connections_.end()) {
          Ready(*it->second, events[i].events);
        }
      }
      const auto now = TClock::now();
      if (acceptPaused && now >= resumeAccept) {
        acceptPaused = false;
        if (listening && !s_.stopping_) Watch(s_.listenFd_, EPOLLIN);
      }
      if (now >= nextSweep) {
        Sweep(now);
        nextSweep = now + std::chrono::milliseconds(50);
      }
    }

    {
      std::lock_guard lock(jobsMutex_);
      quit_ = true;
    }
    jobsReady_.notify_all();
    for (auto& w : workers_) w.join();
    return true;
  }

 private:
  void Watch(int fd, uint32_t events) {
    epoll_event e{};
    e.events = events;
    e.data.fd = fd;
    ::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &e);
  }

  // Watches the connection for `events` (0: not at all).
  void Interest(TConnection& c, uint32_t events) {
    if (events == c.Events) return;
    epoll_event e{};
    e.events = events;
    e.data.fd = c.Fd;
    if (events == 0)
      ::epoll_ctl(epoll_, EPOLL_CTL_DEL, c.Fd, nullptr);
    else
      ::epoll_ctl(epoll_, c.Events == 0 ? EPOLL_CTL_ADD : EPOLL_CTL_MOD, c.Fd, &e);
    c.Events = events;
  }

  void CloseListening() {
    const int fd = s_.listenFd_.exchange(-1);
    if (fd >= 0) {
      ::epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, nullptr);
      ::close(fd);
    }
  }

  // At a stop: kept-alive connections waiting for another request go now.
  // A connection still awaiting its first request keeps its time to send it.
  void CloseIdle() {
    std::vector<int> idle;
    for (auto& [fd, c] : connections_)
      if (c->Phase == TPhase::Reading && !c->RequestBegun && c->Served > 0) idle.push_back(fd);
    for (int fd : idle) Close(fd);
  }

  // Accepts every waiting connection; false when out of descriptors.
  bool AcceptAll() {
    for (;;) {
      sockaddr_storage addr{};
      socklen_t length = sizeof addr;
      const int fd =
          ::accept4(s_.listenFd_, reinterpret_cast<sockaddr*>(&addr), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (fd < 0) {
        if (errno == EINTR || errno == ECONNABORTED) continue;
        return !(errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM);
      }
      auto c = std::make_unique<TConnection>();
      c->Fd = fd;
      c->Id = ++lastId_;
      c->Peer = NumericPeer(addr, length);
      const bool unlimited = limits_.LoopbackUnlimited && IsLoopbackAddress(c->Peer);
      const std::string key = unlimited ? std::string() : LimitKey(c->Peer);
      if (connections_.size() >= maxConnections_ ||
          (!unlimited && perAddress_[key] >= limits_.MaxConnectionsPerAddress)) {
        [[maybe_unused]] const auto sent = ::send(fd, kBusyReply.data(), kBusyReply.size(), MSG_NOSIGNAL);
        ::close(fd);
        if (!unlimited && perAddress_[key] == 0) perAddress_.erase(key);
        ++s_.refused_;
        continue;
      }
      if (!unlimited) {
        c->AddressKey = key;
        ++perAddress_[key];
      }
      // A reply goes out in one write, but a client's delayed
      // acknowledgement would still hold a pipelined second one back.
      const int on = 1;
      ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
      c->Deadline = TClock::now() + limits_.FirstByteWait;
      Interest(*c, EPOLLIN);
      connections_.emplace(fd, std::move(c));
      s_.open_ = connections_.size();
    }
  }

  void Close(int fd) {
    const auto it = connections_.find(fd);
    if (it == connections_.end()) return;
    TConnection& c = *it->second;
    if (!c.AddressKey.empty()) {
      const auto count = perAddress_.find(c.AddressKey);
      if (count != perAddress_.end() && --count->second == 0) perAddress_.erase(count);
    }
    ::close(fd);  // also leaves epoll
    connections_.erase(it);
    s_.open_ = connections_.size();
  }

  void Ready(TConnection& c, uint32_t events) {
    switch (c.Phase) {
      case TPhase::Reading:
        return Read(c);
      case TPhase::Writing:
        if (events & (EPOLLERR | EPOLLHUP)) return Close(c.Fd);
        return Write(c);
      case TPhase::Draining:
        return Drain(c);
      case TPhase::Handling:
        return;
    }
  }

  void Read(TConnection& c) {
    const int fd = c.Fd;
    for (;;) {
      const size_t want = c.AwaitingBody ? c.AwaitingBody->ContentLength : limits_.MaxRequestBytes;
      const size_t room = want - std::min(want, c.In.size());
      if (room == 0) break;
      std::array<char, 8192> buffer;
      const ssize_t n = ::recv(fd, buffer.data(), std::min(room, buffer.size()), 0);
      if (n > 0) {
        if (!c.RequestBegun) {
          c.RequestBegun = true;
          c.RequestStart = TClock::now();
          c.Deadline = c.RequestStart + limits_.ReadTime;
        }
        c.In.append(buffer.data(), static_cast<size_t>(n));
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
      if (n < 0) return Close(fd);  // the connection broke
      // The client sends no more; a request it sent before still gets its
      // answer.
      c.PeerClosed = true;
      break;
    }
    const uint64_t id = c.Id;
    Dispatch(c);
    CloseIfEnded(fd, id);
  }

  // Closes a connection whose client sends no more and that has no request
  // left to answer; the connection may have been closed already.
  void CloseIfEnded(int fd, uint64_t id) {
    const auto it = connections_.find(fd);
    if (it == connections_.end() || it->second->Id != id) return;
    if (it->second->PeerClosed && it->second->Phase == TPhase::Reading) Close(fd);
  }

  // Hands a complete request (its head and any body) to the pool, or
  // refuses a bad one.
  void Dispatch(TConnection& c) {
    if (c.AwaitingBody) return DispatchWithBody(c);
    const size_t end = FindHeadEnd(c.In);
    if (end == std::string::npos) {
      if (c.In.size() >= limits_.MaxRequestBytes) Refuse(c, 431, "the request is too large");
      return;
    }
    auto parsed = ParseRequestHead(std::string_view(c.In).substr(0, end));
    c.In.erase(0, end);
    if (auto* refusal = std::get_if<THeadRefusal>(&parsed))
      return Refuse(c, refusal->Status, refusal->Reason);
    THttpRequest& request = std::get<THttpRequest>(parsed);
    if (request.ContentLength > 0) {
      if (request.ContentLength > limits_.MaxBodyBytes)
        return Refuse(c, 413, "the request body is too large");
      c.AwaitingBody = std::move(request);
      return DispatchWithBody(c);
    }
    Hand(c, std::move(request));
  }

  // The body of the request waiting for it, once it has arrived whole.
  void DispatchWithBody(TConnection& c) {
    const size_t length = c.AwaitingBody->ContentLength;
    if (c.In.size() < length) return;
    THttpRequest request = std::move(*c.AwaitingBody);
    c.AwaitingBody.reset();
    request.Body = c.In.substr(0, length);
    c.In.erase(0, length);
    Hand(c, std::move(request));
  }

  void Hand(TConnection& c, THttpRequest request) {
    request.Peer = c.Peer;
    request.Received = c.RequestStart;
    c.Phase = TPhase::Handling;
    Interest(c, 0);
    {
      std::lock_guard lock(jobsMutex_);
      jobs_.push_back(TJob{c.Fd, c.Id, std::move(request), c.Served});
    }
    jobsReady_.notify_one();
  }

  // Answers with `status` and closes the connection: nothing after a
  // request that could not be read is trusted to be a request.
  void Refuse(TConnection& c, int status, std::string_view reason) {
    THttpResponse response;
    response.Status = status;
    response.ContentType = "text/plain; charset=utf-8";
    response.Body = std::string(reason) + "\n";
    response.Headers = s_.common_;
    if (s_.log_) s_.log_(status, reason);
    c.In.clear();
    c.AwaitingBody.reset();
    StartWrite(c, SerializeResponse(response, false, false, HttpDate(std::chrono::system_clock::now())),
               true);
  }

  void StartWrite(TConnection& c, std::string bytes, bool close) {
    c.Phase = TPhase::Writing;
    c.Out = std::move(bytes);
    c.Sent = 0;
    c.CloseAfterWrite = close;
    c.Deadline = TClock::now() + limits_.WriteWait;
    Write(c);
  }

  void Write(TConnection& c) {
    while (c.Sent < c.Out.size()) {
      const ssize_t n = ::send(c.Fd, c.Out.data() + c.Sent, c.Out.size() - c.Sent, MSG_NOSIGNAL);
      if (n > 0) {
        c.Sent += static_cast<size_t>(n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return Interest(c, EPOLLOUT);
      return Close(c.Fd);
    }
    std::string().swap(c.Out);
    if (c.CloseAfterWrite) {
      // Sends the end after the reply; what the client still sends is read
      // and dropped for a moment, so that the reply is not lost to a reset.
      ::shutdown(c.Fd, SHUT_WR);
      c.Phase = TPhase::Draining;
      c.Deadline = TClock::now() + kDrainTime;
      Interest(c, EPOLLIN);
      return Drain(c);
    }
    ++c.Served;
    c.Phase = TPhase::Reading;
    c.RequestBegun = !c.In.empty();
    c.RequestStart = TClock::now();
    c.Deadline = c.RequestStart + (c.RequestBegun ? limits_.ReadTime : limits_.KeepAliveWait);
    Interest(c, EPOLLIN);
    // A pipelined request may be here already; the rest is read when ready.
    const int fd = c.Fd;
    const uint64_t id = c.Id;
    if (c.RequestBegun) Dispatch(c);
    CloseIfEnded(fd, id);
  }

  void Drain(TConnection& c) {
    std::array<char, 4096> buffer;
    for (;;) {
      const ssize_t n = ::recv(c.Fd, buffer.data(), buffer.size(), 0);
      if (n > 0) continue;
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
      return Close(c.Fd);
    }
  }

  // Ends the connections whose time is up.
  void Sweep(TClock::time_point now) {
    std::vector<int> late;
    for (auto& [fd, c] : connections_)
      if (c->Phase != TPhase::Handling && now >= c->Deadline) late.push_back(fd);
    for (int fd : late) {
      TConnection& c = *connections_.at(fd);
      if (c.Phase == TPhase::Reading && (c.RequestBegun || c.Served == 0)) ++s_.timedOut_;
      if (c.Phase == TPhase::Reading && c.RequestBegun)
        Refuse(c, 408, "the request took too long to arrive");
      else
        Close(fd);
    }
  }

  void TakeDone() {
    std::vector<TDone> done;
    {
      std::lock_guard lock(doneMutex_);
      done.swap(done_);
    }
    for (TDone& d : done) {
      const auto it = connections_.find(d.Fd);
      if (it == connections_.end() || it->second->Id != d.Id) continue;
      TConnection& c = *it->second;
      const bool close = d.Close || s_.stopping_ || c.PeerClosed;
      StartWrite(c, std::move(d.Bytes), close);
    }
  }

  void Work() {
    for (;;) {
      TJob job;
      {
        std::unique_lock lock(jobsMutex_);
        jobsReady_.wait(lock, [this] { return quit_ || !jobs_.empty(); });
        if (jobs_.empty()) return;
        job = std::move(jobs_.front());
        jobs_.pop_front();
      }
      THttpResponse response;
      try {
        response = s_.handler_(job.Request);
      } catch (...) {
        response = THttpResponse{};
        response.Status = 500;
        response.ContentType = "text/plain; charset=utf-8";
        response.Body = "internal error\n";
      }
      for (const auto& [name, value] : s_.common_)
        if (response.Get(name).empty()) response.Headers.emplace_back(name, value);
      // After a refused request the connection is not trusted to carry a
      // well-formed next one.
      const bool close = !job.Request.KeepAlive || response.Status == 400 ||
                         job.Served + 1 >= limits_.MaxRequestsPerConnection || s_.stopping_;
      TDone done{job.Fd, job.Id,
                 SerializeResponse(response, job.Request.Method == "HEAD", !close,
                                   HttpDate(std::chrono::system_clock::now())),
                 close};
      {
        std::lock_guard lock(doneMutex_);
        done_.push_back(std::move(done));
      }
      const uint64_t one = 1;
      [[maybe_unused]] const auto w = ::write(s_.wakeFd_, &one, sizeof one);
    }
  }

  THttpServer& s_;
  const TConnectionLimits& limits_;
  int epoll_ = -1;
  size_t maxConnections_ = 0;
  uint64_t lastId_ = 0;
  std::unordered_map<int, std::unique_ptr<TConnection>> connections_;
  std::unordered_map<std::string, size_t> perAddress_;

  std::mutex jobsMutex_;
  std::condition_variable jobsReady_;
  std::deque<TJob> jobs_;
  bool quit_ = false;
  std::vector<std::thread> workers_;

  std::mutex doneMutex_;
  std::vector<TDone> done_;
};

THttpServer::THttpServer(TConnectionLimits limits, size_t threads, THandler handler, TFrontReplyLog log)
    : limits_(limits), threads_(threads), handler_(std::move(handler)), log_(std::move(log)) {
  wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

THttpServer::~THttpServer() {
  Stop();
  if (listenFd_ >= 0) ::close(listenFd_);
  if (wakeFd_ >= 0) ::close(wakeFd_);
}

int THttpServer::Bind(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return -1;
  int bound = -1;
  for (addrinfo* a = found; a && bound < 0; a = a->ai_next) {
    const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) continue;
    // The address may be taken again at once after a stop, but only by one
    // server at a time: a second server started by mistake fails here.
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (::bind(fd, a->ai_addr, a->ai_addrlen) != 0 || ::listen(fd, SOMAXCONN) != 0) {
      ::close(fd);
      continue;
    }
    sockaddr_storage local{};
    socklen_t length = sizeof local;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
    bound = local.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&local)->sin6_port)
                                        : ntohs(reinterpret_cast<sockaddr_in*>(&local)->sin_port);
    listenFd_ = fd;
  }
  ::freeaddrinfo(found);
  return bound;
}

bool THttpServer::Serve() {
  if (listenFd_ < 0 && !stopping_) return false;
  TLoop loop(*this);
  return loop.Run();
}

void THttpServer::Stop() {
  stopping_ = true;
  // New connections are refused from now on; the serving loop closes the
  // socket itself, so its number cannot be reused under it meanwhile.
  if (const int fd = listenFd_; fd >= 0) ::shutdown(fd, SHUT_RDWR);
  const uint64_t one = 1;
  if (wakeFd_ >= 0) [[maybe_unused]]
    const auto w = ::write(wakeFd_, &one, sizeof one);
}

void THttpServer::SetCommonHeaders(std::vector<std::pair<std::string, std::string>> fields) {
  common_ = std::move(fields);
}

THttpServer::TCounts THttpServer::TakeCounts() { return {refused_.exchange(0), timedOut_.exchange(0)}; }

}  // namespace bd::server
