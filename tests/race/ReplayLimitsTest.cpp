// What a replay makes of a recording that is not a whole game of these rules:
// cut short, past the caller's frame limit, recorded under other rules, or
// claiming another end than the one it plays to. The score server goes by
// these answers.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "race/LevelChange.h"
#include "race/RulesVersion.h"
#include "race/replay/Replay.h"
#include "race/replay/ReplayHost.h"

namespace bd::test {
namespace {

// A game driven straight on at full throttle until the last life is lost,
// recorded on the race's own code.
TRecording RecordRecklessGame(const TRaceImages& images) {
  TReplayHost host(images);
  TRaceSession& session = host.Session();
  session.Begin(TRaceSeed{4242, TSeedSource::Own, {}});
  StartNewGame(host);
  while (!session.Over() && session.FrameNumber() < 20000) {
    if (session.FrameNumber() == 500) session.KeyPress(host, 'P', 0);
    if (session.FrameNumber() == 560) session.KeyPress(host, 'P', 0);
    session.Frame(host, session.FrameNumber() % 100 == 0 ? 2 : 1, RaceKeyBit(vk::Up));
  }
  return session.Recording();
}

TEST(ReplayLimits, OnlyAWholeGameOfTheseRulesConfirmsItsScore) {
  const std::filesystem::path archive = std::filesystem::path(BD_RUN_DIR) / "Data" / "GraphicsMain.dxg";
  if (!std::filesystem::exists(archive)) GTEST_SKIP() << "no built game data";
  const TRaceImages images = TRaceImages::FromFile(archive.string());
  const TRecording whole = RecordRecklessGame(images);
  ASSERT_GT(whole.FrameCount, 200u);

  struct TCase {
    const char* what;
    std::function<void(TRecording&)> change;
    uint32_t maxFrames;
    TReplayEnd end;
    bool confirms;
  };
  const TCase cases[] = {
      {"the whole game", [](TRecording&) {}, 100000, TReplayEnd::GameOver, true},
      {"cut short", [](TRecording& r) { r.FrameCount /= 2; }, 100000, TReplayEnd::OutOfFrames, false},
      {"longer than the limit", [](TRecording&) {}, 100, TReplayEnd::FrameLimit, false},
      {"other rules", [](TRecording& r) { r.RulesVersion = kRaceRulesVersion + 1; }, 100000,
       TReplayEnd::OtherRules, false},
      {"a higher score claimed", [](TRecording& r) { r.FinalScore += 20; }, 100000, TReplayEnd::GameOver,
       false},
      {"more frames claimed", [](TRecording& r) { r.FrameCount += 1; }, 100000, TReplayEnd::GameOver, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TRecording r = whole;
    c.change(r);
    const TReplayResult result = ReplayRecording(r, images, c.maxFrames);
    EXPECT_EQ(result.End, c.end);
    EXPECT_EQ(ReplayConfirms(r, result), c.confirms);
    if (c.end == TReplayEnd::FrameLimit) {
      EXPECT_EQ(result.Frames, c.maxFrames);
    }
  }
}

}  // namespace
}  // namespace bd::test
