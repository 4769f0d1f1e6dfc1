#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeRaceHost.h"
#include "race/MeteorSprites.h"
#include "race/PickupSprites.h"
#include "race/RaceFrame.h"
#include "race/RoadSprites.h"

namespace bd::test {
namespace {

// A seeded game replays only while every frame asks the generator for the
// same ranges in the same order: the pickup's draw every frame, its kind and
// lane on a hit, then the meteorite trail's draw on later levels and its x
// on a hit. The trail looks at the distance left after the frame's drive.
TEST(RaceFrame, DrawsFromTheGeneratorInAFixedOrder) {
  struct TCase {
    const char* Name;
    int32_t Level;
    int32_t Speed;
    bool Paused;
    bool ExitQuestion;
    int32_t LeftBefore;  // distance still to drive before the frame
    std::vector<int32_t> Draws;
    std::vector<int32_t> Asked;
    bool Pickup;
    bool Trail;
  };
  const TCase cases[] = {
      {"level 1, no luck", 1, 5, false, false, 5000, {0}, {170}, false, false},
      {"level 1, a pickup", 1, 5, false, false, 5000, {5, 0, 2}, {170, 101, 4}, true, false},
      {"standing still", 1, 0, false, false, 5000, {5}, {170}, false, false},
      {"level 2, no luck", 2, 5, false, false, 5000, {0, 0}, {170, 270}, false, false},
      {"level 2, a trail", 2, 5, false, false, 5000, {0, 4, 300}, {170, 270, 601}, false, true},
      {"level 2, both", 2, 5, false, false, 5000, {5, 80, 1, 4, 300}, {170, 101, 4, 270, 601}, true, true},
      {"paused", 2, 5, true, false, 5000, {5, 4}, {170, 270}, false, false},
      {"exit question", 2, 5, false, true, 5000, {0, 4}, {170, 270}, false, false},
      {"too near the end after driving", 2, 5, false, false, 1003, {0, 4}, {170, 270}, false, false},
      {"level driven", 2, 5, false, false, 0, {}, {}, false, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TFakeRaceHost host;
    TRaceState& s = host.State;
    s.Level = c.Level;
    s.Speed = c.Speed;
    s.Paused = c.Paused;
    s.RaceRunning = !c.Paused;
    s.Distance = s.LevelLength - c.LeftBefore;
    host.ExitQuestion = c.ExitQuestion;
    host.Draws.assign(c.Draws.begin(), c.Draws.end());
    RunRaceFrame(host);
    EXPECT_EQ(host.Asked, c.Asked);
    EXPECT_TRUE(host.Draws.empty());
    EXPECT_EQ(host.Live<TPickupSprite>().size() + host.Live<TRocksMassovka>().size(), c.Pickup ? 1u : 0u);
    const auto trails = host.Live<TSledMeteoritaSprite>();
    ASSERT_EQ(trails.size(), c.Trail ? 1u : 0u);
    if (c.Trail) {
      EXPECT_EQ(trails[0]->X, 380);  // 300 + 100, drawn from its centre
    }
  }
}

TEST(RaceFrame, TheEngineLayersJoinInWithTheSpeed) {
  struct TCase {
    int32_t Speed;
    std::vector<std::string> Sounds;
  };
  const TCase cases[] = {
      {-3, {"back1"}},
      {0, {}},
      {1, {"back1"}},
      {3, {"back1"}},
      {4, {"back1", "forward1"}},
      {8, {"back1", "forward1"}},
      {9, {"back1", "forward1", "forward2"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Speed);
    TFakeRaceHost host;
    host.State.Level = 1;
    host.State.Speed = c.Speed;
    host.Draws = {0};  // nothing is spawned
    RunRaceFrame(host);
    EXPECT_EQ(host.Sounds, c.Sounds);
  }
}

// Once the level is driven the race stops and cheers once; the clock of the
// level's end starts when the destination sign has grown, and only then.
TEST(RaceFrame, TheEndOfALevel) {
  TFakeRaceHost host;
  TRaceState& s = host.State;
  s.Level = 1;
  s.Speed = 9;
  s.Distance = s.LevelLength;
  for (int frame = 0; frame < 3; ++frame) RunRaceFrame(host);
  EXPECT_FALSE(s.RaceRunning);
  EXPECT_EQ(host.Sounds, std::vector<std::string>{"applaus"});
  EXPECT_EQ(s.LevelEndState, 1);
  EXPECT_FALSE(host.LevelCompleteTimer);
  EXPECT_EQ(s.Distance, s.LevelLength);
  EXPECT_TRUE(host.Asked.empty());

  s.LevelEndState = 2;  // the sign has grown
  RunRaceFrame(host);
  EXPECT_EQ(s.LevelEndState, 3);
  EXPECT_TRUE(host.LevelCompleteTimer);
  host.Texts.clear();
  RunRaceFrame(host);
  EXPECT_EQ(host.Texts, std::vector<THudText>{LevelCompleteCaption()});
  EXPECT_EQ(host.Sounds.size(), 1u);
}

}  // namespace
}  // namespace bd::test
