// The real server under the attacks the internet makes on a public service,
// all from this machine's loopback addresses and each bounded in time:
// connections that say nothing or dribble a byte at a time, too many
// connections, replies multiplied by Range headers, a second request hidden
// in a request's body (straight and through the sample nginx site), and
// forged forwarded addresses. Each time a normal player must still be served
// quickly, and the server's memory must stay small.

#include <gtest/gtest.h>
#include <httplib.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>

#include "NginxProcess.h"
#include "RawClient.h"
#include "ServerProcess.h"

namespace bd::test {
namespace {

using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

// Many connections from many loopback addresses, as a crowd of attackers.
class TCrowd {
 public:
  ~TCrowd() { CloseAll(); }

  void CloseAll() {
    for (const TMember& m : members_) ::close(m.Fd);
    members_.clear();
  }

  // `perAddress` connections from each of `addresses` sources 127.0.`net`.1 on.
  void Connect(int port, int net, int addresses, int perAddress) {
    for (int a = 1; a <= addresses; ++a)
      for (int i = 0; i < perAddress; ++i) {
        const int fd = ConnectFrom("127.0." + std::to_string(net) + "." + std::to_string(a), port, false);
        ASSERT_GE(fd, 0) << "cannot open connection " << members_.size() << ": " << std::strerror(errno);
        members_.push_back({fd, TClock::now(), false, {}, {}});
      }
  }

  // Waits until every connection is established; false when one failed.
  bool Established(std::chrono::milliseconds wait) {
    const auto until = TClock::now() + wait;
    for (TMember& m : members_) {
      pollfd p{m.Fd, POLLOUT, 0};
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - TClock::now()).count();
      int error = 0;
      socklen_t length = sizeof error;
      if (::poll(&p, 1, static_cast<int>(std::max<int64_t>(0, left))) != 1 ||
          ::getsockopt(m.Fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
        return false;
    }
    return true;
  }

  void SendToOpen(std::string_view bytes) {
    for (TMember& m : members_)
      if (!m.Closed) ::send(m.Fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
  }

  // Reads what the server sent; counts the connections it has closed.
  size_t ClosedByServer() {
    size_t closed = 0;
    for (TMember& m : members_) {
      while (!m.Closed) {
        char chunk[4096];
        const ssize_t n = ::recv(m.Fd, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n > 0) {
          m.Received.append(chunk, static_cast<size_t>(n));
          continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        m.Closed = true;
        m.ClosedAt = TClock::now();
      }
      closed += m.Closed;
    }
    return closed;
  }

  // The longest a connection stayed open after it was opened (those still
  // open count up to now).
  std::chrono::milliseconds LongestLife() const {
    std::chrono::milliseconds longest{0};
    for (const TMember& m : members_)
      longest = std::max(longest, std::chrono::duration_cast<std::chrono::milliseconds>(
                                      (m.Closed ? m.ClosedAt : TClock::now()) - m.Opened));
    return longest;
  }

  size_t Size() const { return members_.size(); }
  size_t Answered(int status) const {
    return static_cast<size_t>(std::count_if(members_.begin(), members_.end(), [&](const TMember& m) {
      const auto statuses = ReplyStatuses(m.Received);
      return statuses.size() == 1 && statuses[0] == status;
    }));
  }
  const std::string& Received(size_t i) const { return members_[i].Received; }

 private:
  struct TMember {
    int Fd;
    TClock::time_point Opened;
    bool Closed = false;
    TClock::time_point ClosedAt{};
    std::string Received;
  };
  std::vector<TMember> members_;
};

// Memory measured in the sanitizer build would count the freed blocks that
// its allocator holds back to catch late uses: the server started meanwhile
// holds back only a little, so that what it keeps is what it uses.
class TSmallQuarantine {
 public:
  TSmallQuarantine() {
    const char* old = std::getenv("ASAN_OPTIONS");
    if (old) old_ = old;
    ::setenv("ASAN_OPTIONS",
             (old_.value_or("") + ":quarantine_size_mb=1:thread_local_quarantine_size_kb=64").c_str(), 1);
  }
  ~TSmallQuarantine() {
    if (old_)
      ::setenv("ASAN_OPTIONS", old_->c_str(), 1);
    else
      ::unsetenv("ASAN_OPTIONS");
  }

 private:
  std::optional<std::string> old_;
};

// A player's requests, one connection each, for at most `duration`: their
// times in ms; a failed or late request counts as the whole wait.
std::vector<double> PlayerRequests(int port, size_t count, std::chrono::milliseconds duration,
                                   size_t& failed) {
  std::vector<double> ms;
  const auto until = TClock::now() + duration;
  for (size_t i = 0; i < count && TClock::now() < until; ++i) {
    const TTimedReply reply = TimedGet(port, i % 2 ? kVersionTarget : "/healthz", 2s);
    failed += reply.Status != 200;
    ms.push_back(reply.Status == 200 ? reply.Milliseconds : 2000.0);
  }
  return ms;
}

TEST(Attack, SilentAndSlowConnectionsHoldNoPlayerBack) {
  RaiseOpenFileLimit();
  TScratchDir dir;
  TServerProcess server(dir.Path() / "scores.db", dir.Path() / "server.log", {"--read-seconds", "4"});

  // 2000 silent connections from 100 addresses and 500 that send one byte of
  // a request at a time from 20 more: each address within its limit of 32.
  TCrowd silent, slow;
  silent.Connect(server.Port(), 1, 100, 20);
  slow.Connect(server.Port(), 2, 20, 25);
  ASSERT_TRUE(silent.Established(5s));
  ASSERT_TRUE(slow.Established(5s));
  const std::string_view request = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: 0123456789";
  size_t sent = 0;
  slow.SendToOpen(request.substr(sent++, 1));
  std::atomic<bool> attacking{true};
  std::thread dribble([&] {
    while (attacking) {
      std::this_thread::sleep_for(500ms);
      if (attacking && sent < request.size()) slow.SendToOpen(request.substr(sent++, 1));
    }
  });
  std::this_thread::sleep_for(200ms);

  size_t failed = 0;
  const std::vector<double> ms = PlayerRequests(server.Port(), 200, 2500ms, failed);
  // The attack was in place all the while.
  EXPECT_EQ(silent.ClosedByServer(), 0u);
  EXPECT_EQ(slow.ClosedByServer(), 0u);
  attacking = false;
  dribble.join();

  ASSERT_GE(ms.size(), 100u);
  EXPECT_EQ(failed, 0u);
  const double p99 = Percentile(ms, 0.99);
  std::printf(
      "a player's request under 2000 silent and 500 slow connections: p50 %.2f ms, p99 %.2f ms (%zu)\n",
      Percentile(ms, 0.5), p99, ms.size());
  EXPECT_LT(p99, 100.0);

  // Each connection is timed from its accept: the silent ones go after 5 s,
  // the slow ones 4 s after their first byte, with a 408.
  const auto until = TClock::now() + 8s;
  while ((silent.ClosedByServer() < silent.Size() || slow.ClosedByServer() < slow.Size()) &&
         TClock::now() < until)
    std::this_thread::sleep_for(100ms);
  EXPECT_EQ(silent.ClosedByServer(), silent.Size());
  EXPECT_EQ(slow.ClosedByServer(), slow.Size());
  EXPECT_LT(silent.LongestLife(), 6500ms);
  EXPECT_LT(slow.LongestLife(), 6500ms);
  EXPECT_EQ(slow.Answered(408), slow.Size()) << slow.Received(0);
  EXPECT_EQ(silent.Answered(408), 0u);
}

TEST(Attack, ConnectionsOverTheLimitsAreTurnedAwayAtOnce) {
  RaiseOpenFileLimit();
  TScratchDir dir;
  TServerProcess server(dir.Path() / "scores.db", dir.Path() / "server.log", {"--max-connections", "60"});

  // One address: 32 connections held, the rest told to come back later.
  TCrowd one;
  one.Connect(server.Port(), 3, 1, 40);
  ASSERT_TRUE(one.Established(5s));
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(one.ClosedByServer(), 8u);
  EXPECT_EQ(one.Answered(503), 8u);
  for (size_t i = 0; i < one.Size(); ++i)
    if (!one.Received(i).empty()) {
      EXPECT_NE(one.Received(i).find("\r\nRetry-After: "), std::string::npos);
    }

  // Another address meanwhile is served...
  EXPECT_EQ(TimedGet(server.Port(), "/healthz", 2s).Status, 200);
  // ...until the server holds its most connections: then nobody new is.
  TCrowd more;
  more.Connect(server.Port(), 4, 1, 28);
  ASSERT_TRUE(more.Established(5s));
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(more.ClosedByServer(), 0u);
  EXPECT_EQ(TimedGet(server.Port(), "/healthz", 2s).Status, 503);
  more.CloseAll();
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(TimedGet(server.Port(), "/healthz", 2s).Status, 200);
}

TEST(Attack, RangeHeadersAreIgnored) {
  TScratchDir dir;
  const TSmallQuarantine quarantine;
  TServerProcess server(dir.Path() / "scores.db", dir.Path() / "server.log");
  const auto logoSize = std::filesystem::file_size(ServerProgram().parent_path() / "www" / "logo.png");
  ASSERT_GT(logoSize, 1000u);

  const std::string raw =
      Exchange(server.Port(),
               "GET /logo.png HTTP/1.1\r\nHost: a\r\nRange: bytes=0-9\r\nConnection: close\r\n\r\n", 3s);
  EXPECT_EQ(ReplyStatuses(raw), std::vector<int>{200});
  EXPECT_EQ(FirstBody(raw).size(), logoSize);
  EXPECT_EQ(raw.find("Content-Range"), std::string::npos);

  std::string ranges = "bytes=0-";
  for (int i = 1; i < 2600; ++i) ranges += ",0-";
  const size_t before = ResidentKb(server.Pid());
  std::vector<std::thread> clients;
  std::vector<std::string> replies(16);
  for (size_t i = 0; i < replies.size(); ++i)
    clients.emplace_back([&, i] {
      replies[i] = Exchange(
          server.Port(),
          "GET /logo.png HTTP/1.1\r\nHost: a\r\nRange: " + ranges + "\r\nConnection: close\r\n\r\n", 10s);
    });
  for (auto& c : clients) c.join();
  for (const std::string& r : replies) {
    EXPECT_EQ(ReplyStatuses(r), std::vector<int>{200});
    EXPECT_EQ(r.size() - r.find("\r\n\r\n") - 4, logoSize);
  }
  const size_t peak = PeakResidentKb(server.Pid());
  std::printf("16 requests of 2600 ranges: resident %zu KiB before, peak %zu KiB\n", before, peak);
  EXPECT_LT(peak, before + 32 * 1024);
}

// A request whose body is a second request: the server must never answer
// (or act on) the hidden one.
TEST(Attack, ABodyOrAMalformedRequestCannotCarryAnotherRequest) {
  TScratchDir dir;
  const auto database = dir.Path() / "scores.db";
  TServerProcess server(database, dir.Path() / "server.log");
  const auto hidden = [&](const std::string& name) {
    return "GET " + std::string(kReportTarget) + EncodedReport(name, 999, FreshToken(server.Base()), "") +
           " HTTP/1.1\r\nHost: a\r\n\r\n";
  };
  const auto withLength = [&](const std::string& body) {
    return "GET /healthz HTTP/1.1\r\nHost: a\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
           body;
  };
  const auto chunked = [&](const std::string& body) {
    char size[16];
    std::snprintf(size, sizeof size, "%zx", body.size());
    return "GET /healthz HTTP/1.1\r\nHost: a\r\nTransfer-Encoding: chunked\r\n\r\n" + std::string(size) +
           "\r\n" + body + "\r\n0\r\n\r\n";
  };
  const std::pair<const char*, std::string> cases[] = {
      {"Content-Length", withLength(hidden("Length"))},
      {"chunked", chunked(hidden("Chunked"))},
      {"both",
       "GET /healthz HTTP/1.1\r\nHost: a\r\nContent-Length: 4\r\nTransfer-Encoding: "
       "chunked\r\n\r\n0\r\n\r\n" +
           hidden("Both")},
      {"after a malformed request", "GET /healthz HTTP/1.1\r\nBad Field: x\r\n\r\n" + hidden("Malformed")},
  };
  for (const auto& [label, bytes] : cases) {
    const std::string raw = Exchange(server.Port(), bytes, 3s);
    EXPECT_EQ(ReplyStatuses(raw), std::vector<int>{400}) << label << "\n" << raw;
  }
  EXPECT_TRUE(AllStoredNames(database.string()).empty());

  // Requests one after another on a connection, without bodies, are all
  // answered.
  const std::string twice =
      "GET /healthz HTTP/1.1\r\nHost: a\r\n\r\nGET /healthz HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n";
  EXPECT_EQ(ReplyStatuses(Exchange(server.Port(), twice, 3s)), (std::vector<int>{200, 200}));

  // A POST's body is read as its body, whatever it holds, and the request
  // after it as the next one; a body over the limit is not read at all.
  const std::string body = hidden("InBody");
  const std::string post =
      "POST /healthz HTTP/1.1\r\nHost: a\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
      body + "GET /healthz HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n";
  EXPECT_EQ(ReplyStatuses(Exchange(server.Port(), post, 3s)), (std::vector<int>{405, 200}));
  const std::string huge = "POST /healthz HTTP/1.1\r\nHost: a\r\nContent-Length: 262145\r\n\r\n" + body;
  EXPECT_EQ(ReplyStatuses(Exchange(server.Port(), huge, 3s)), std::vector<int>{413});
  EXPECT_TRUE(AllStoredNames(database.string()).empty());
}

TEST(Attack, ForgedForwardedAddressesCountAsTheProxyAndTakeNoMemory) {
  TScratchDir dir;
  const TSmallQuarantine quarantine;
  TServerProcess server(dir.Path() / "scores.db", dir.Path() / "server.log",
                        {"--behind-proxy", "--reports-per-minute", "10"});
  std::atomic<size_t> limited{0}, total{0};
  // Reports from two clients, each with a forwarded address of its own.
  const auto flood = [&](int round) {
    std::vector<std::thread> clients;
    for (int c = 0; c < 2; ++c)
      clients.emplace_back([&, c] {
        httplib::Client client("127.0.0.1", server.Port());
        client.set_keep_alive(true);
        for (int i = 0; i < 1000; ++i) {
          std::string key = std::to_string(round) + "-" + std::to_string(c) + "-" + std::to_string(i) + "-";
          key.resize(8000, 'x');
          const auto result = client.Get(std::string(kReportTarget) + "AAAAAAAA", {{"X-Forwarded-For", key}});
          ++total;
          if (result && result->status == 429) ++limited;
        }
      });
    for (auto& c : clients) c.join();
    return PeakResidentKb(server.Pid());
  };
  const size_t before = ResidentKb(server.Pid());
  const size_t first = flood(0);
  // The server's threads have their buffers now; a second flood of new
  // addresses must take nothing more (a table of them would grow by each).
  const size_t second = flood(1);
  std::printf(
      "4000 reports with 8 KB forwarded addresses: resident %zu KiB before, peak %zu KiB after 2000, "
      "%zu KiB after 4000\n",
      before, first, second);
  // Not an address: each counts against the proxy's own, which has 10.
  EXPECT_EQ(limited.load(), total.load() - 10);
  EXPECT_LT(second, first + 8 * 1024);
}

// The sample public site in front of the server: reports hidden in request
// bodies with forged addresses store nothing, and the players whose requests
// share the proxy's connections to the server get their own answers.
TEST(Attack, ThroughTheSampleSiteNoHiddenReportIsStoredAndNoPlayerGetsAnotherAnswer) {
  TScratchDir dir;
  const auto database = dir.Path() / "scores.db";
  TServerProcess server(database, dir.Path() / "server.log",
                        {"--behind-proxy", "--reports-per-minute", "10"});
  const int upstream = server.Port();
  TNginxProcess proxy([upstream](int port) { return SampleSite(port, upstream); });

  std::atomic<bool> playing{true};
  std::atomic<size_t> answers{0}, wrong{0};
  std::vector<std::thread> players;
  for (int p = 0; p < 2; ++p)
    players.emplace_back([&] {
      httplib::Client client(proxy.Base());
      client.set_keep_alive(true);
      for (int i = 0; playing && i < 20000; ++i) {
        const bool health = i % 2 == 0;
        const auto result = client.Get(health ? "/healthz" : kVersionTarget);
        ++answers;
        if (!result || result->status != 200 ||
            (health ? result->body != "ok\n" : !result->body.starts_with("OK|")))
          ++wrong;
      }
    });

  for (int i = 0; i < 14; ++i) {
    const std::string report =
        "GET " + std::string(kReportTarget) +
        EncodedReport("Hidden" + std::to_string(i), 999, FreshToken(server.Base()), "") +
        " HTTP/1.1\r\nHost: a\r\nX-Forwarded-For: 10.0.0." + std::to_string(i) + "\r\n\r\n";
    const std::string raw =
        Exchange(proxy.Port(),
                 "GET /healthz HTTP/1.1\r\nHost: a\r\nContent-Length: " + std::to_string(report.size()) +
                     "\r\nConnection: close\r\n\r\n" + report,
                 3s);
    EXPECT_EQ(ReplyStatuses(raw), std::vector<int>{400}) << raw;
  }
  std::this_thread::sleep_for(300ms);
  playing = false;
  for (auto& p : players) p.join();
  EXPECT_TRUE(AllStoredNames(database.string()).empty());
  EXPECT_GT(answers.load(), 10u);
  EXPECT_EQ(wrong.load(), 0u) << proxy.ErrorLog();
}

}  // namespace
}  // namespace bd::test
