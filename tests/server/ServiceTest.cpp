// The real server process as a service: its addresses, its command line,
// the rate limit, the log, the limits on requests and a clean stop.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <algorithm>

#include "ServerProcess.h"

namespace bd::test {
namespace {

using namespace std::chrono_literals;

// A raw connection to the server, for requests no ordinary client sends.
class TRawConnection {
 public:
  explicit TRawConnection(int port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    timeval tv{30, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  }
  ~TRawConnection() { ::close(fd_); }
  TRawConnection(const TRawConnection&) = delete;
  TRawConnection& operator=(const TRawConnection&) = delete;

  bool Connected() const { return connected_; }
  bool Send(const std::string& bytes) { return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) >= 0; }
  // Everything until the server closes the connection.
  std::string ReadToClose() {
    std::string in;
    char chunk[4096];
    ssize_t n = 0;
    while ((n = ::recv(fd_, chunk, sizeof chunk, 0)) > 0) in.append(chunk, static_cast<size_t>(n));
    return in;
  }

 private:
  int fd_;
  bool connected_ = false;
};

class Service : public ::testing::Test {
 protected:
  TScratchDir dir_;
};

TEST_F(Service, AnswersItsAddressesAndNothingElse) {
  TServerProcess server(dir_.Path() / "scores.db", dir_.Path() / "server.log");
  struct TCase {
    const char* Target;
    int Status;
    const char* BodyHas;
  };
  const TCase cases[] = {
      {"/", 200, "href=\"/cgi/version.pl?prg=BumperDash&amp;show&amp;type=0\""},
      {"/healthz", 200, "ok"},
      {"/logo.png", 200, "PNG"},
      {"/favicon.png", 200, "PNG"},
      {kTableTarget, 200, "No scores yet"},
      {kVersionTarget, 200, "OK|"},
      {"/cgi/version.pl?version&prg=OtherGame", 404, ""},
      {"/cgi/version.pl?version", 404, ""},
      {"/cgi/version.pl?prg=BumperDash", 404, ""},
      {"/cgi/version.pl?prg=BumperDash&show&type=1", 404, ""},
      {"/cgi/version.pl?version&hs&prg=BumperDash", 404, ""},
      {"/cgi/version.pl?version&prg=BumperDash&prg=BumperDash", 404, ""},
      {"/cgi/other.pl?version&prg=BumperDash", 404, ""},
      {"/www/logo.png", 404, ""},
      {"/../scores.db", 404, ""},
      {"/scores.db", 404, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Target);
    const THttpReply reply = HttpGet(server.Base(), c.Target);
    EXPECT_EQ(reply.Status, c.Status);
    EXPECT_NE(reply.Body.find(c.BodyHas), std::string::npos);
  }
  EXPECT_EQ(server.Terminate(), 0);
}

TEST_F(Service, HelpListsEveryOption) {
  const std::string help = RunForOutput(ServerProgram().string() + " --help");
  for (const char* option : {"--listen", "--database", "--web-dir", "--token-minutes", "--reports-per-minute",
                             "--behind-proxy", "--threads", "--read-seconds", "--help", "--version"})
    EXPECT_NE(help.find(option), std::string::npos) << option;
  // Without the required options it refuses to start.
  EXPECT_NE(::system((ServerProgram().string() + " --listen 127.0.0.1:0 2>/dev/null").c_str()), 0);
  EXPECT_NE(::system((ServerProgram().string() + " --listen nowhere --database x.db 2>/dev/null").c_str()), 0);
}

TEST_F(Service, ADatabaseItCannotUseStopsTheStart) {
  const auto garbage = dir_.Path() / "garbage.db";
  {
    std::FILE* f = std::fopen(garbage.c_str(), "w");
    std::fputs("this is not a database, just text long enough to fill the header of one. ........", f);
    std::fclose(f);
  }
  EXPECT_THROW(TServerProcess(garbage, dir_.Path() / "garbage.log"), std::runtime_error);
  EXPECT_THROW(TServerProcess(dir_.Path() / "no-such-dir" / "scores.db", dir_.Path() / "missing.log"),
               std::runtime_error);

  // A PostgreSQL server that is not there: the start fails at once, and the
  // log names the database without its password.
  const auto start = std::chrono::steady_clock::now();
  try {
    TServerProcess("postgresql://scores:secret-word@/scores?host=" + (dir_.Path() / "no-server").string(),
                   dir_.Path() / "postgres.log");
    ADD_FAILURE() << "the server started without its database";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("cannot connect to the database"), std::string::npos) << e.what();
    EXPECT_EQ(std::string(e.what()).find("secret-word"), std::string::npos) << e.what();
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

TEST_F(Service, ASecondServerOnATakenPortRefusesToStartAndTouchesNoDatabase) {
  TServerProcess first(dir_.Path() / "first.db", dir_.Path() / "first.log");
  const auto second = dir_.Path() / "second.db";
  // Bounded: a server that shared the port would run on.
  const std::string command = "timeout 10 " + ServerProgram().string() + " --listen 127.0.0.1:" +
                              std::to_string(first.Port()) +
                              " --database " + second.string() + " 2>/dev/null";
  EXPECT_NE(::system(command.c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(second));
  EXPECT_EQ(HttpGet(first.Base(), "/healthz").Status, 200);
}

TEST_F(Service, TheRateLimitRefusesTheExcessAndTheLogCountsIt) {
  TServerProcess server(dir_.Path() / "scores.db", dir_.Path() / "server.log", {"--reports-per-minute", "3"});
  std::vector<int> statuses;
  for (int i = 0; i < 5; ++i) statuses.push_back(SendReport(server.Base(), "Rapid" + std::to_string(i), 100 + i));
  EXPECT_EQ(statuses, (std::vector<int>{200, 200, 200, 429, 429}));
  // Version checks and the table are not limited.
  EXPECT_EQ(HttpGet(server.Base(), kTableTarget).Status, 200);
  EXPECT_EQ(TableNames(HttpGet(server.Base(), kTableTarget).Body).size(), 3u);
  EXPECT_EQ(server.Terminate(), 0);
  const std::string log = server.Log();
  EXPECT_NE(log.find("rate limit: refused 2 reports"), std::string::npos) << log;
  EXPECT_NE(log.find(" GET report 429 "), std::string::npos) << log;
}

TEST_F(Service, BehindAProxyTheLimitCountsThePlayersAddresses) {
  TServerProcess server(dir_.Path() / "scores.db", dir_.Path() / "server.log",
                        {"--reports-per-minute", "1", "--behind-proxy"});
  auto reportFrom = [&](const std::string& player, const std::string& name) {
    TRawConnection connection(server.Port());
    connection.Send("GET " + std::string(kReportTarget) + EncodedReport(name, 500, FreshToken(server.Base()), "") +
                    " HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Forwarded-For: " + player +
                    "\r\nConnection: close\r\n\r\n");
    const std::string reply = connection.ReadToClose();
    return reply.substr(0, reply.find("\r\n"));
  };
  EXPECT_EQ(reportFrom("203.0.113.7", "First"), "HTTP/1.1 200 OK");
  EXPECT_EQ(reportFrom("203.0.113.8", "Second"), "HTTP/1.1 200 OK");
  EXPECT_EQ(reportFrom("203.0.113.7", "Third"), "HTTP/1.1 429 Too Many Requests");
  EXPECT_EQ(TableNames(HttpGet(server.Base(), kTableTarget).Body).size(), 2u);
}

TEST_F(Service, TheLogHasALinePerRequestWithoutAddressesOrTokens) {
  TServerProcess server(dir_.Path() / "scores.db", dir_.Path() / "server.log");
  const std::string token = FreshToken(server.Base());
  ASSERT_FALSE(token.empty());
  ASSERT_EQ(HttpGet(server.Base(), kReportTarget + EncodedReport("Logged", 5, token, "")).Status, 200);
  HttpGet(server.Base(), kTableTarget);
  HttpGet(server.Base(), "/nothing-here?secret=1");
  EXPECT_EQ(server.Terminate(), 0);
  const std::string log = server.Log();
  for (const char* line : {" GET version 200 ", " GET report 200 ", " GET table 200 ", " GET unknown 404 "})
    EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
  EXPECT_EQ(log.find("127.0.0.1"), std::string::npos) << log;
  EXPECT_EQ(log.find(token), std::string::npos) << log;
  EXPECT_EQ(log.find(token.substr(0, 32)), std::string::npos) << log;  // nor the token's id
  EXPECT_EQ(log.find("secret=1"), std::string::npos) << log;
}

TEST_F(Service, RequestsAreBoundedInSizeAndTime) {
  TServerProcess server(dir_.Path() / "scores.db", dir_.Path() / "server.log", {"--read-seconds", "1"});
  {
    // Endless headers: the connection is dropped or refused, never served.
    TRawConnection raw(server.Port());
    ASSERT_TRUE(raw.Connected());
    std::string request = "GET /healthz HTTP/1.1\r\nHost: x\r\n";
    for (int i = 0; i < 400; ++i) request += "X-Filler-" + std::to_string(i) + ": " + std::string(100, 'f') + "\r\n";
    request += "\r\n";
    raw.Send(request);
    const std::string reply = raw.ReadToClose();
    EXPECT_EQ(reply.find("200 OK"), std::string::npos) << reply.substr(0, 200);
  }
  {
    // A client that starts a request and stalls is cut off after the read time.
    TRawConnection raw(server.Port());
    ASSERT_TRUE(raw.Connected());
    const auto start = std::chrono::steady_clock::now();
    raw.Send("GET /healthz HTTP/1.1\r\nHost: x\r\n");
    raw.ReadToClose();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, 900ms);
    EXPECT_LT(took, 5s);
  }
  // The server still serves everyone else.
  EXPECT_EQ(HttpGet(server.Base(), "/healthz").Status, 200);
  EXPECT_EQ(server.Terminate(), 0);
}

TEST_F(Service, SigtermWhileReportsArriveFinishesThemAndExitsCleanly) {
  const auto database = dir_.Path() / "scores.db";
  TServerProcess server(database, dir_.Path() / "server.log");
  const TReportLoad load = SendReportsUntil(server.Base(), 4, [&server] {
    std::this_thread::sleep_for(400ms);
    EXPECT_EQ(server.Terminate(), 0);
  });
  EXPECT_GT(load.Answered.size(), 0u);
  // Every request it took was answered: what it stored is exactly what it
  // said it stored.
  std::vector<std::string> stored = AllStoredNames(database);
  std::vector<std::string> answered = load.Answered;
  std::sort(stored.begin(), stored.end());
  std::sort(answered.begin(), answered.end());
  EXPECT_EQ(stored, answered);
}

}  // namespace
}  // namespace bd::test
