#include <gtest/gtest.h>

#include "server/Options.h"
#include "server/Query.h"

namespace bd::server {
namespace {

TEST(Routing, TheGamesAddressesAndNothingLikeThem) {
  const std::pair<const char*, TRoute> cases[] = {
      {"/cgi/version.pl?version&prg=BumperDash", TRoute::VersionCheck},
      {"/cgi/version.pl?prg=BumperDash&version", TRoute::VersionCheck},
      {"/cgi/version.pl?hs&prg=BumperDash&inf=QQQ", TRoute::Report},
      {"/cgi/version.pl?hs&prg=BumperDash", TRoute::Report},  // refused there: no report
      {"/cgi/version.pl?prg=BumperDash&show&type=0", TRoute::Table},
      {"/cgi/version.pl?prg=BumperDash&show&type=1", TRoute::NotFound},
      {"/cgi/version.pl?prg=BumperDash&show", TRoute::NotFound},
      {"/cgi/version.pl?prg=BumperDash&show&type=0&type=0", TRoute::NotFound},
      {"/cgi/version.pl?version&prg=bumperdash", TRoute::NotFound},
      {"/cgi/version.pl?version&prg=BumperDash&prg=Other", TRoute::NotFound},
      {"/cgi/version.pl?version", TRoute::NotFound},
      {"/cgi/version.pl?version&hs&prg=BumperDash", TRoute::NotFound},
      {"/cgi/version.pl?seed&prg=BumperDash", TRoute::Seed},
      {"/cgi/version.pl?daily&prg=BumperDash", TRoute::DailySeed},
      {"/cgi/version.pl?seed&daily&prg=BumperDash", TRoute::NotFound},
      {"/cgi/version.pl?seed&seed&prg=BumperDash", TRoute::NotFound},
      {"/cgi/version.pl", TRoute::NotFound},
      {"/cgi/version.pl/?version&prg=BumperDash", TRoute::NotFound},
      {"/", TRoute::Home},
      {"/?version&prg=BumperDash", TRoute::Home},
      {"/healthz", TRoute::Health},
      {"/logo.png", TRoute::Logo},
      {"/favicon.ico", TRoute::Favicon},
      {"/favicon.png", TRoute::Favicon},
      {"/index.html", TRoute::NotFound},
  };
  for (const auto& [target, route] : cases) {
    const std::string_view t = target;
    EXPECT_EQ(ClassifyRequest(t.substr(0, t.find('?')), TQuery::FromTarget(t)), route) << target;
  }
}

TEST(Routing, QueryValuesAreTakenWhole) {
  const TQuery q = TQuery::FromTarget("/p?hs&&inf=AB=CD&prg=X&inf=");
  EXPECT_EQ(q.Value("inf"), "AB=CD");
  EXPECT_EQ(q.Count("inf"), 2u);
  EXPECT_TRUE(q.Has("hs"));
  EXPECT_EQ(q.Value("hs"), "");
  EXPECT_FALSE(q.Has(""));
  EXPECT_FALSE(TQuery::FromTarget("/p").Has("p"));
}

TEST(Options, ListenAddresses) {
  struct TCase {
    const char* Text;
    bool Valid;
    const char* Host;
    int Port;
  };
  const TCase cases[] = {
      {"127.0.0.1:8080", true, "127.0.0.1", 8080},
      {"0.0.0.0:0", true, "0.0.0.0", 0},
      {"[::1]:443", true, "::1", 443},
      {"localhost:65535", true, "localhost", 65535},
      {"127.0.0.1:65536", false, "", 0},
      {"127.0.0.1:-1", false, "", 0},
      {"127.0.0.1:", false, "", 0},
      {":8080", false, "", 0},
      {"127.0.0.1", false, "", 0},
      {"::1:8080", false, "", 0},
      {"[]:80", false, "", 0},
      {"127.0.0.1:80x", false, "", 0},
      {"127.0.0.1:000080", false, "", 0},
  };
  for (const TCase& c : cases) {
    const auto parsed = ParseListenAddress(c.Text);
    ASSERT_EQ(parsed.has_value(), c.Valid) << c.Text;
    if (!parsed) continue;
    EXPECT_EQ(parsed->Host, c.Host);
    EXPECT_EQ(parsed->Port, c.Port);
  }
}

TEST(Options, DefaultsAndRefusals) {
  TServerOptions options;
  const char* minimal[] = {"bumperdash-scores", "--listen", "127.0.0.1:0", "--database", "s.db"};
  EXPECT_EQ(ParseOptions(5, minimal, options), std::nullopt);
  EXPECT_EQ(options.Listen.Host, "127.0.0.1");
  EXPECT_EQ(options.Database, "s.db");
  EXPECT_EQ(options.TokenMinutes, 15);
  EXPECT_EQ(options.ReportsPerMinute, 10);

  const std::vector<std::vector<const char*>> refused = {
      {"bumperdash-scores", "--database", "s.db"},
      {"bumperdash-scores", "--listen", "127.0.0.1:0"},
      {"bumperdash-scores", "--listen", "127.0.0.1:0", "--database", "s.db", "--threads", "0"},
      {"bumperdash-scores", "--listen", "127.0.0.1:0", "--database", "s.db", "--token-minutes", "0"},
      {"bumperdash-scores", "--listen", "127.0.0.1:0", "--database", "s.db", "--reports-per-minute", "-1"},
      {"bumperdash-scores", "--listen", "127.0.0.1:0", "--database", "s.db", "--unknown"},
  };
  testing::internal::CaptureStderr();
  for (const auto& args : refused) {
    TServerOptions o;
    EXPECT_EQ(ParseOptions(static_cast<int>(args.size()), args.data(), o), 2) << args.back();
  }
  testing::internal::GetCapturedStderr();
}

}  // namespace
}  // namespace bd::server
