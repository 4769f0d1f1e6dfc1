// The seeds the server signs, their reply line, and what a race must show
// before it is replayed.

#include <gtest/gtest.h>

#include "codec/SeedReplyFormat.h"
#include "server/CheckerProtocol.h"
#include "server/RaceJudge.h"
#include "server/SeedTickets.h"

namespace bd::server {
namespace {

constexpr int64_t kHour = 3600 * 1000;
constexpr int64_t kNoon = 1797076800000;  // 2026-12-12 12:00 UTC

TEST(SeedTickets, TicketsAreJudged) {
  const TSeedTickets tickets("secret", 6 * kHour);
  const TSeedTickets otherInstance("secret", kHour);
  const TSeedTickets otherSecret("another secret", 6 * kHour);
  const TIssuedSeed fresh = tickets.IssueFresh(kNoon);
  const TIssuedSeed daily = tickets.IssueDaily(kNoon);
  const TIssuedSeed yesterday = tickets.IssueDaily(kNoon - 24 * kHour);
  std::string changed = fresh.Ticket;
  changed[10] = changed[10] == '0' ? '1' : '0';

  struct TCase {
    const char* Label;
    const TSeedTickets& Checker;
    std::string Ticket;
    uint32_t Seed;
    int64_t Now;
    TSeedVerdict Verdict;
  };
  const TCase cases[] = {
      {"fresh", tickets, fresh.Ticket, fresh.Seed, kNoon + kHour, TSeedVerdict::Valid},
      {"by an instance sharing the secret", otherInstance, fresh.Ticket, fresh.Seed, kNoon,
       TSeedVerdict::Valid},
      {"under another secret", otherSecret, fresh.Ticket, fresh.Seed, kNoon, TSeedVerdict::Unknown},
      {"expired", tickets, fresh.Ticket, fresh.Seed, kNoon + 6 * kHour, TSeedVerdict::Expired},
      {"a changed byte", tickets, changed, fresh.Seed, kNoon, TSeedVerdict::Unknown},
      {"for another seed", tickets, fresh.Ticket, fresh.Seed + 1, kNoon, TSeedVerdict::Unknown},
      {"cut short", tickets, fresh.Ticket.substr(2), fresh.Seed, kNoon, TSeedVerdict::Unknown},
      {"a report token", tickets, std::string(80, 'a'), fresh.Seed, kNoon, TSeedVerdict::Unknown},
      {"daily", tickets, daily.Ticket, daily.Seed, kNoon, TSeedVerdict::Daily},
      {"daily with another date's seed", tickets, daily.Ticket, yesterday.Seed, kNoon, TSeedVerdict::Unknown},
      {"another date's daily with today's seed", tickets, yesterday.Ticket, daily.Seed, kNoon,
       TSeedVerdict::Unknown},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(c.Checker.Check(c.Ticket, c.Seed, c.Now).Verdict, c.Verdict) << c.Label;

  const TSeedCheck check = otherInstance.Check(yesterday.Ticket, yesterday.Seed, kNoon - 20 * kHour);
  EXPECT_EQ(check.Verdict, TSeedVerdict::Daily);
  EXPECT_EQ(check.DailyDate, "2026-12-11");
  EXPECT_EQ(check.IssuedAtMs, kNoon - 24 * kHour);
}

TEST(SeedTickets, TheDailySeedIsTheDaysForEveryInstanceAndPlayer) {
  const TSeedTickets one("secret", kHour), two("secret", 2 * kHour), stranger("other", kHour);
  const TIssuedSeed morning = one.IssueDaily(kNoon - 11 * kHour);
  const TIssuedSeed evening = two.IssueDaily(kNoon + 11 * kHour);
  EXPECT_EQ(morning.DailyDate, "2026-12-12");
  EXPECT_EQ(morning.Seed, evening.Seed);
  EXPECT_NE(morning.Ticket, evening.Ticket);
  EXPECT_NE(one.IssueDaily(kNoon + 13 * kHour).Seed, morning.Seed);
  EXPECT_NE(stranger.DailySeed("2026-12-12"), morning.Seed);
  EXPECT_NE(one.IssueFresh(kNoon).Seed, one.IssueFresh(kNoon).Seed);  // 1 in 4 billion to fail
}

TEST(SeedReplyFormat, RoundTripsAndRefusesOtherLines) {
  const TSeedReply daily{4294967295u, "00ff", "2026-12-12"};
  EXPECT_EQ(BuildSeedReply(daily), "OK|4294967295|00ff|2026-12-12|");
  EXPECT_EQ(ParseSeedReply(BuildSeedReply(daily) + "\n"), daily);
  const TSeedReply fresh{0, "ab", ""};
  EXPECT_EQ(ParseSeedReply(BuildSeedReply(fresh)), fresh);
  for (const char* bad :
       {"", "OK", "OK|1|ab|", "OK|1|ab||x|", "ok|1|ab||", "OK|01|ab||", "OK|4294967296|ab||", "OK|-1|ab||",
        "OK|1|AB||", "OK|1|||", "OK|1|ab|2026-13-01|", "OK|1|ab|2026-1-01|", "OK|1|ab||\n\n"})
    EXPECT_FALSE(ParseSeedReply(bad)) << bad;
  EXPECT_THROW(BuildSeedReply({1, "a|b", ""}), std::invalid_argument);
  EXPECT_THROW(BuildSeedReply({1, "ab", "today"}), std::invalid_argument);
}

TEST(CheckerProtocol, PlayedIntervalsCountEachFrameByItsLag) {
  const auto lag = [](uint32_t frame, uint32_t value) { return TInputEvent{frame, TInputKind::Lag, value}; };
  const TInputEvent key{5, TInputKind::KeysHeld, 3};
  struct TCase {
    uint32_t Frames;
    std::vector<TInputEvent> Events;
    uint64_t Intervals;
  };
  const TCase cases[] = {
      {0, {}, 0},
      {100, {key}, 100},
      {100, {lag(10, 3), lag(11, 1)}, 102},
      {100, {lag(0, 2)}, 200},
      {10, {lag(5, 4), key, lag(8, 1)}, 5 + 3 * 4 + 2},
  };
  for (const TCase& c : cases) {
    TRecording r;
    r.FrameCount = c.Frames;
    r.Events = c.Events;
    EXPECT_EQ(PlayedIntervals(r), c.Intervals) << c.Frames;
  }
}

TEST(CheckerProtocol, LinesRoundTripAndGarbageIsNoLine) {
  TRecordingSummary s{3, TSeedSource::Daily, 4000000000u, 1200, 1300, 2147483647, 5, "0a1b", "ff00"};
  const std::string first = FormatFirstLine(s);
  ASSERT_TRUE(first.ends_with('\n'));
  EXPECT_EQ(ParseFirstLine(first.substr(0, first.size() - 1)),
            (std::variant<TRecordingSummary, TUndecodable>(s)));
  s.SeedTicket.clear();
  const std::string own = FormatFirstLine(s);
  EXPECT_EQ(ParseFirstLine(own.substr(0, own.size() - 1)),
            (std::variant<TRecordingSummary, TUndecodable>(s)));
  EXPECT_EQ(ParseSecondLine("replayed 10 2 300"),
            (std::variant<TReplayResult, TUnfinished>(TReplayResult{10, 2, 300})));
  for (const char* bad :
       {"", "recording 1 2 3", "recording 1 3 1 1 1 1 1 ab -", "recording 1 1 1 1 1 1 1 AB -",
        "recording x 1 1 1 1 1 1 ab -", "replayed 1 2", "replayed a 2 3", "hello world"}) {
    EXPECT_FALSE(ParseFirstLine(bad)) << bad;
    EXPECT_FALSE(ParseSecondLine(bad)) << bad;
  }
}

TEST(RaceJudge, SeedsAndTimesAreJudged) {
  const TSeedTickets tickets("secret", 6 * kHour);
  const TIssuedSeed fresh = tickets.IssueFresh(kNoon);
  const TIssuedSeed daily = tickets.IssueDaily(kNoon);
  const auto race = [](TSeedSource source, const TIssuedSeed& seed, uint64_t intervals) {
    TRecordingSummary s;
    s.SeedSource = source;
    s.Seed = seed.Seed;
    s.SeedTicket = seed.Ticket;
    s.Intervals = intervals;
    s.Frames = static_cast<uint32_t>(intervals);
    s.RaceDigest = "abcd";
    return s;
  };
  const uint64_t tenMinutes = 10 * 60 * 1000 / kRaceFrameIntervalMs;
  struct TCase {
    const char* Label;
    TRecordingSummary Race;
    bool RefuseOwn;
    int64_t Now;
    std::optional<TCheckState> Stored;  // nothing: refused
  };
  TRecordingSummary noTicket = race(TSeedSource::Server, fresh, 10);
  noTicket.SeedTicket.clear();
  const TCase cases[] = {
      {"ten minutes played in ten", race(TSeedSource::Server, fresh, tenMinutes), false, kNoon + 600000,
       TCheckState::Checked},
      {"ten minutes played in five", race(TSeedSource::Server, fresh, tenMinutes), false, kNoon + 300000, {}},
      {"a day's race", race(TSeedSource::Daily, daily, 10), false, kNoon + 1000, TCheckState::Checked},
      {"a day's ticket for another race", race(TSeedSource::Server, daily, 10), false, kNoon + 1000, {}},
      {"a race's ticket for a day's race", race(TSeedSource::Daily, fresh, 10), false, kNoon + 1000, {}},
      {"no ticket", noTicket, false, kNoon + 1000, {}},
      {"expired", race(TSeedSource::Server, fresh, 10), false, kNoon + 7 * kHour, {}},
      {"own seed", race(TSeedSource::Own, fresh, tenMinutes), false, kNoon, TCheckState::CheckedOwnSeed},
      {"own seed refused", race(TSeedSource::Own, fresh, 10), true, kNoon, {}},
  };
  for (const TCase& c : cases) {
    const auto verdict = JudgeRace(c.Race, tickets, c.RefuseOwn, c.Now);
    if (!c.Stored) {
      EXPECT_TRUE(std::holds_alternative<std::string>(verdict)) << c.Label;
      continue;
    }
    ASSERT_TRUE(std::holds_alternative<TRaceVerdict>(verdict))
        << c.Label << ": " << std::get<std::string>(verdict);
    EXPECT_EQ(std::get<TRaceVerdict>(verdict).Check, *c.Stored) << c.Label;
  }
  const auto today = JudgeRace(race(TSeedSource::Daily, daily, 10), tickets, false, kNoon + 1000);
  EXPECT_EQ(std::get<TRaceVerdict>(today).DailyDate, "2026-12-12");
}

}  // namespace
}  // namespace bd::server
