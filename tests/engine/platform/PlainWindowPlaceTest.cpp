#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "engine/platform/PlainWindowPlace.h"

namespace bd {
namespace {

constexpr uint64_t kSettle = TPlainWindowPlace::kSettleMs;
constexpr TWindowPlace kOpened{112, 84, 800, 600};
constexpr TWindowPlace kMoved{40, 50, 800, 600};
constexpr TWindowPlace kLarger{40, 50, 1000, 700};
constexpr TWindowPlace kMaximised{0, 19, 1024, 749};

// What the window system reports: a place, whether the window was plain
// then, and when.
struct Report {
  TWindowPlace place;
  bool plain;
  uint64_t atMs;
};

// The place remembered at the end of a run of reports, asked for when the
// game goes full screen.
TEST(PlainWindowPlace, RemembersThePlainWindowsLastSettledPlace) {
  struct Case {
    const char* what;
    std::vector<Report> reports;
    uint64_t askedAtMs;
    std::optional<TWindowPlace> expected;
  };
  const Case cases[] = {
      {"nothing reported yet", {}, 1000, std::nullopt},
      {"a place reported just now has not settled",
       {{kOpened, true, 1000}},
       1000 + kSettle - 1,
       std::nullopt},
      {"a place that stood long enough counts", {{kOpened, true, 1000}}, 1000 + kSettle, kOpened},
      {"a maximise whose place comes a moment before its state",
       {{kOpened, true, 100}, {kMaximised, true, 5000}, {kMaximised, false, 5003}},
       9000,
       kOpened},
      {"a maximise whose state comes first",
       {{kOpened, true, 100}, {kMaximised, false, 5000}, {kMaximised, false, 5001}},
       9000,
       kOpened},
      {"a move, then a maximise a while later",
       {{kOpened, true, 100}, {kMoved, true, 2000}, {kMaximised, true, 3000}, {kMaximised, false, 3002}},
       9000,
       kMoved},
      {"a drag: only where it ended counts",
       {{kOpened, true, 100}, {{60, 70, 800, 600}, true, 2000}, {kMoved, true, 2050}},
       9000,
       kMoved},
      {"a resize is remembered with its place",
       {{kMoved, true, 100}, {kLarger, true, 2000}, {kMaximised, false, 4000}},
       9000,
       kLarger},
      {"the same place reported again keeps its first time",
       {{kOpened, true, 100}, {kMoved, true, 1000}, {kMoved, true, 1000 + kSettle - 10}},
       1000 + kSettle,
       kMoved},
      {"a minimised window's place is not the plain one",
       {{kMoved, true, 100}, {{-32000, -32000, 800, 600}, false, 1000}},
       9000,
       kMoved},
  };
  for (const Case& c : cases) {
    TPlainWindowPlace plain;
    for (const Report& r : c.reports) plain.Observe(r.place, r.plain, r.atMs);
    EXPECT_EQ(plain.Last(c.askedAtMs), c.expected) << c.what;
  }
}

// A place the game read from the plain window itself, or put the window at,
// counts at once and replaces one still settling.
TEST(PlainWindowPlace, ATakenPlaceCountsAtOnce) {
  TPlainWindowPlace plain;
  plain.Observe(kOpened, true, 100);
  plain.Observe(kMoved, true, 1000);
  plain.Take(kLarger);
  EXPECT_EQ(plain.Last(1001), kLarger);
  EXPECT_EQ(plain.Last(9000), kLarger);
}

}  // namespace
}  // namespace bd
