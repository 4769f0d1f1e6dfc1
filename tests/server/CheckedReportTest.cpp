// The real server taking reports with their race's recording, on both
// stores, with a checking worker that misbehaves on purpose (see
// worker/MisbehavingChecker.cpp): its "recording" is a line of text saying
// what to claim and how to behave.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <sstream>
#include <thread>
#include <tuple>

#include "PostgresProcess.h"
#include "ServerProcess.h"
#include "codec/RecordingFormat.h"
#include "codec/SeedReplyFormat.h"
#include "common/SampleRecording.h"
#include "race/RulesVersion.h"
#include "race/replay/Replay.h"
#include "server/Clock.h"
#include "server/OpenStore.h"
#include "server/SeedTickets.h"

namespace bd::server {
namespace {

using namespace std::chrono_literals;
using test::TScratchDir;
using test::TServerProcess;

struct TStoreKind {
  std::string Name;
  bool Postgres;
  friend void PrintTo(const TStoreKind& kind, std::ostream* out) { *out << kind.Name; }
};

class CheckedReport : public ::testing::TestWithParam<TStoreKind> {
 protected:
  std::string Database() {
    if (database_.empty())
      database_ =
          GetParam().Postgres ? test::SharedPostgres().NewDatabase() : (dir_.Path() / "scores.db").string();
    return database_;
  }

  std::unique_ptr<TServerProcess> Start(std::vector<std::string> args = {}, bool ownChecker = false) {
    if (!ownChecker) args.insert(args.end(), {"--check-command", BD_MISBEHAVING_CHECKER});
    args.insert(args.end(), {"--check-seconds", "2"});
    return std::make_unique<TServerProcess>(Database(), dir_.Path() / "server.log", args);
  }

  std::vector<TStoredScore> Stored() { return OpenStore(Database())->Best(1000); }

  TScratchDir dir_;
  std::string database_;
};

// Whether a line of `log` holds `start`, and `reason` after it.
bool LogHas(const std::string& log, const std::string& start, const std::string& reason) {
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    const size_t at = line.find(start);
    if (at != std::string::npos && line.find(reason, at) != std::string::npos) return true;
  }
  return false;
}

// The processes the server has started (its checking workers).
size_t ChildCount(pid_t pid) {
  size_t count = 0;
  for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
    std::ifstream children(task.path() / "children");
    for (std::string child; children >> child;) ++count;
  }
  return count;
}

TSeedReply AskSeed(const TServerProcess& server, const char* target) {
  const test::THttpReply reply = test::HttpGet(server.Base(), target);
  EXPECT_EQ(reply.Status, 200) << reply.Body;
  const auto seed = ParseSeedReply(reply.Body);
  EXPECT_TRUE(seed) << reply.Body;
  return seed.value_or(TSeedReply{});
}

// The worker's "recording" of a race: how it behaves, and what it claims.
std::string Race(const std::string& mode, int source, const TSeedReply& seed, int score,
                 uint64_t intervals = 10, const std::string& digest = "d1") {
  return mode + " " + std::to_string(source) + " " + std::to_string(seed.Seed) + " " +
         std::to_string(intervals) + " " + std::to_string(intervals) + " " + std::to_string(score) + " 3 " +
         digest + " " + (seed.Ticket.empty() ? "-" : seed.Ticket);
}

test::THttpReply Post(const TServerProcess& server, const std::string& name, int score,
                      const std::string& body) {
  const std::string target = std::string(test::kReportTarget) +
                             test::EncodedReport(name, score, test::FreshToken(server.Base()), "");
  return test::HttpPost(server.Base(), target, body);
}

TEST_P(CheckedReport, SeedsAreSignedAndTheDailySeedIsTheDays) {
  auto server = Start();
  const TSeedReply a = AskSeed(*server, test::kSeedTarget);
  const TSeedReply b = AskSeed(*server, test::kSeedTarget);
  EXPECT_NE(a.Ticket, b.Ticket);
  EXPECT_TRUE(a.DailyDate.empty());
  const TSeedReply today = AskSeed(*server, test::kDailySeedTarget);
  const TSeedReply again = AskSeed(*server, test::kDailySeedTarget);
  EXPECT_EQ(today.DailyDate, UtcDate(UnixMillis()));
  EXPECT_EQ(today.Seed, again.Seed);

  // Signed under the database's secret, which any other instance shares.
  const TSeedTickets other(OpenStore(Database())->TokenSecret("unused"), 3600000);
  EXPECT_EQ(other.Check(a.Ticket, a.Seed, UnixMillis()).Verdict, TSeedVerdict::Valid);
  EXPECT_EQ(other.Check(today.Ticket, today.Seed, UnixMillis()).Verdict, TSeedVerdict::Daily);
}

TEST_P(CheckedReport, ACheckedReportIsStoredWithItsStateAndAnOldGamesReportAsUnchecked) {
  auto server = Start();
  const TSeedReply seed = AskSeed(*server, test::kSeedTarget);
  const TSeedReply daily = AskSeed(*server, test::kDailySeedTarget);
  const std::string race = Race("ok", 1, seed, 500);
  for (const auto& [name, score, body] : {std::tuple{"Server", 500, race},
                                          {"Daily", 400, Race("ok", 2, daily, 400)},
                                          {"Own", 300, Race("ok", 0, TSeedReply{}, 300, 10, "d2")}}) {
    const test::THttpReply reply = Post(*server, name, score, body);
    EXPECT_EQ(reply.Status, 200) << name << ": " << reply.Body;
  }
  EXPECT_EQ(test::SendReport(server->Base(), "Old", 200), 200);
  // The same race again, with a token of its own, is not stored twice.
  const test::THttpReply twice = Post(*server, "Twice", 500, race);
  EXPECT_EQ(twice.Status, 409) << twice.Body;

  const auto rows = Stored();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].Name, "Server");
  EXPECT_EQ(rows[0].Check, TCheckState::Checked);
  EXPECT_EQ(rows[0].Level, 3);
  EXPECT_EQ(rows[0].RulesVersion, 1);
  EXPECT_EQ(rows[0].DailyDate, std::nullopt);
  EXPECT_EQ(OpenStore(Database())->Recording(rows[0].Id), race);
  EXPECT_EQ(rows[1].Check, TCheckState::Checked);
  EXPECT_EQ(rows[1].DailyDate, daily.DailyDate);
  EXPECT_EQ(rows[2].Check, TCheckState::CheckedOwnSeed);
  EXPECT_EQ(rows[3].Name, "Old");
  EXPECT_EQ(rows[3].Check, TCheckState::Unchecked);
  EXPECT_EQ(rows[3].Level, std::nullopt);
  EXPECT_EQ(OpenStore(Database())->Recording(rows[3].Id), std::nullopt);
}

TEST_P(CheckedReport, EveryRefusalIsLoggedWithItsReasonAndStoresNothing) {
  auto server = Start({"--check-memory-mb", "64"});
  std::string changed = AskSeed(*server, test::kSeedTarget).Ticket;
  changed[4] = changed[4] == '0' ? '1' : '0';
  struct TCase {
    const char* Label;
    std::function<std::string()> Body;
    int Score;
    int Status;
    std::string Reason;
  };
  const auto race = [&](const char* mode, int score, uint64_t intervals = 10) {
    return [&server, mode, score, intervals] {
      return Race(mode, 1, AskSeed(*server, test::kSeedTarget), score, intervals);
    };
  };
  std::vector<TCase> cases = {
      {"over-long body", [] { return std::string(256 * 1024 + 1, 'x'); }, 1, 413,
       "the request body is too large"},
      {"no recording", [] { return std::string(); }, 1, 400, "no recording"},
      {"bad ticket",
       [&] {
         TSeedReply seed = AskSeed(*server, test::kSeedTarget);
         seed.Ticket = changed;
         return Race("ok", 1, seed, 1);
       },
       1, 403, "the seed ticket is not valid for this seed"},
      {"frames too many for the time since the seed", race("ok", 1, 100000), 1, 403,
       "more than the time since its seed was issued"},
      {"worker crash", race("crash", 1), 1, 403, "checker failed"},
      {"worker garbage", race("garbage", 1), 1, 403, "checker failed"},
      {"worker timeout", race("sleep", 1), 1, 403, "checking took too long"},
      {"race past the frame limit", race("unfinished", 1), 1, 403, "the race does not end within"},
      {"score differs", race("ok", 499), 500, 403, "ends with score 499, not 500"},
  };
#if !defined(__SANITIZE_ADDRESS__)
  // The sanitizer's shadow memory needs more address space than any limit.
  cases.push_back({"worker over memory", race("alloc", 1), 1, 403, "checker failed"});
#endif
  for (const TCase& c : cases) {
    const test::THttpReply reply = Post(*server, "Cheat", c.Score, c.Body());
    EXPECT_EQ(reply.Status, c.Status) << c.Label << ": " << reply.Body;
    EXPECT_NE(reply.Body.find(c.Reason), std::string::npos) << c.Label << ": " << reply.Body;
    const std::string logged = c.Status == 413 ? "refused a request: 413 " : "refused a checked report: ";
    EXPECT_TRUE(LogHas(server->Log(), logged, c.Reason)) << c.Label << "\n" << server->Log();
  }
  EXPECT_TRUE(Stored().empty());
  // The server serves on.
  EXPECT_EQ(test::HttpGet(server->Base(), "/healthz").Status, 200);
  EXPECT_EQ(Post(*server, "Honest", 7, Race("ok", 1, AskSeed(*server, test::kSeedTarget), 7)).Status, 200);
  EXPECT_EQ(Stored().size(), 1u);
}

TEST_P(CheckedReport, TheOperatorsOptionsRefuseUncheckedReportsAndOwnSeeds) {
  auto server = Start({"--checked-only", "--refuse-own-seed"});
  EXPECT_EQ(test::SendReport(server->Base(), "Old", 200), 403);
  const test::THttpReply own = Post(*server, "Own", 300, Race("ok", 0, TSeedReply{}, 300));
  EXPECT_EQ(own.Status, 403);
  EXPECT_NE(own.Body.find("seed the game chose itself"), std::string::npos) << own.Body;
  EXPECT_EQ(Post(*server, "Server", 5, Race("ok", 1, AskSeed(*server, test::kSeedTarget), 5)).Status, 200);
  EXPECT_EQ(Stored().size(), 1u);
}

// The server's own checking worker reads the recording; bytes that are none
// are refused as such.
TEST_P(CheckedReport, TheServersOwnCheckerRefusesBytesThatAreNoRecording) {
  auto server = Start({}, true);
  const test::THttpReply reply = Post(*server, "Noise", 1, "no recording at all");
  EXPECT_EQ(reply.Status, 400) << reply.Body;
  EXPECT_TRUE(reply.Body.starts_with("the recording cannot be read: ")) << reply.Body;
  EXPECT_TRUE(LogHas(server->Log(), "refused a checked report: ", "the recording cannot be read"));
  EXPECT_TRUE(Stored().empty());
}

// A race of the game's own rules, played by a sample player on `seed` (a
// server's, or the game's own when it has no ticket) until it is over or
// left with a yes to the exit question after `frames` frames, with the
// score, level and frames its replay ends with.
TRecording RealRace(const TSeedReply& seed, uint32_t frames) {
  TRecording race = MakeSampleRecording(seed.Seed, frames);
  race.RulesVersion = kRaceRulesVersion;
  race.Seed = seed.Seed;
  race.SeedSource = seed.Ticket.empty() ? TSeedSource::Own : TSeedSource::Server;
  race.SeedTicket = seed.Ticket;
  std::erase_if(race.Events, [&](const TInputEvent& e) { return e.Frame + 1 >= frames; });
  race.Events.push_back({frames - 1, TInputKind::ExitQuestion, 1});
  race.Events.push_back({frames - 1, TInputKind::ExitQuestion, 2});
  race.FrameCount = frames;
  static const TRaceImages images =
      TRaceImages::FromFile((std::filesystem::path(BD_RUN_DIR) / "Data" / "GraphicsMain.dxg").string());
  const bd::TReplayResult played = ReplayRecording(race, images);
  EXPECT_TRUE(played.Finished());
  // A game lost before the end keeps only the inputs it played.
  std::erase_if(race.Events, [&](const TInputEvent& e) { return e.Frame >= played.Frames; });
  race.FinalScore = played.FinalScore;
  race.FinalLevel = played.FinalLevel;
  race.FrameCount = played.Frames;
  return race;
}

TSeedReply OwnSeed(uint32_t seed) { return {.Seed = seed, .Ticket = {}, .DailyDate = {}}; }

// The server's own worker plays the game's race again: true scores are
// stored as checked; a false one, a changed byte and other rules are refused.
TEST_P(CheckedReport, TheServersOwnCheckerPlaysTheRaceAgain) {
  auto server = Start({}, true);
  // On the server's seed a race may not take longer than the time since the
  // seed was issued (and a second's grace): 60 frames are 0.9 s.
  const TRecording onServerSeed = RealRace(AskSeed(*server, test::kSeedTarget), 60);
  EXPECT_EQ(Post(*server, "Quick", onServerSeed.FinalScore, EncodeRecording(onServerSeed)).Status, 200);
  // A long race on the game's own seed, which no time bounds.
  const TRecording honest = RealRace(OwnSeed(1234), 40000);
  ASSERT_GT(honest.FinalScore, 0);
  EXPECT_EQ(Post(*server, "Honest", honest.FinalScore, EncodeRecording(honest)).Status, 200);

  TRecording boasted = RealRace(OwnSeed(5678), 40000);
  const int32_t claimed = boasted.FinalScore + 1000;
  boasted.FinalScore = claimed;
  const test::THttpReply boast = Post(*server, "Boast", claimed, EncodeRecording(boasted));
  EXPECT_EQ(boast.Status, 403) << boast.Body;
  EXPECT_NE(boast.Body.find("not " + std::to_string(claimed)), std::string::npos) << boast.Body;

  std::string changed = EncodeRecording(RealRace(OwnSeed(91), 4000));
  changed[changed.size() / 2] ^= 0x20;
  const test::THttpReply damaged = Post(*server, "Damaged", 1, changed);
  EXPECT_EQ(damaged.Status, 400) << damaged.Body;

  TRecording foreign = RealRace(OwnSeed(92), 4000);
  foreign.RulesVersion = kRaceRulesVersion + 1;
  const test::THttpReply other = Post(*server, "Other", foreign.FinalScore, EncodeRecording(foreign));
  EXPECT_EQ(other.Status, 400) << other.Body;
  EXPECT_NE(other.Body.find("rules version"), std::string::npos) << other.Body;

  const auto rows = Stored();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].Name, "Honest");
  EXPECT_EQ(rows[0].Check, TCheckState::CheckedOwnSeed);
  EXPECT_EQ(rows[0].Level, honest.FinalLevel);
  EXPECT_EQ(rows[1].Name, "Quick");
  EXPECT_EQ(rows[1].Check, TCheckState::Checked);
}

// With the one worker busy, a report beyond the queue is refused at once,
// and one in the queue once it has waited its time: never later.
TEST_P(CheckedReport, AFullQueueRefusesInTime) {
  struct TCase {
    const char* Queue;
    const char* Wait;
    std::chrono::milliseconds AtLeast, AtMost;
  };
  const TCase cases[] = {{"0", "1.5", 0ms, 500ms}, {"1", "0.3", 300ms, 1000ms}};
  for (const TCase& c : cases) {
    auto server = Start({"--check-workers", "1", "--check-queue", c.Queue, "--check-wait-seconds", c.Wait});
    std::thread slow(
        [&] { Post(*server, "Slow", 1, Race("sleep", 1, AskSeed(*server, test::kSeedTarget), 1)); });
    // Until the slow check holds the one worker.
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (std::chrono::steady_clock::now() < until && ChildCount(server->Pid()) == 0)
      std::this_thread::sleep_for(10ms);
    const std::string race = Race("ok", 1, AskSeed(*server, test::kSeedTarget), 1);
    const auto start = std::chrono::steady_clock::now();
    const test::THttpReply full = Post(*server, "Full", 1, race);
    const auto took = std::chrono::steady_clock::now() - start;
    slow.join();
    EXPECT_EQ(full.Status, 503) << c.Queue;
    EXPECT_EQ(full.Body, "checking queue full\n") << c.Queue;
    EXPECT_GE(took, c.AtLeast) << c.Queue;
    EXPECT_LT(took, c.AtMost) << c.Queue;
  }
  EXPECT_TRUE(Stored().empty());
}

INSTANTIATE_TEST_SUITE_P(Stores, CheckedReport,
                         ::testing::Values(TStoreKind{"Sqlite", false}, TStoreKind{"Postgres", true}),
                         [](const auto& param) { return param.param.Name; });

}  // namespace
}  // namespace bd::server
