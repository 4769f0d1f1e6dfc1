#include <gtest/gtest.h>

#include <climits>

#include "race/RaceFlow.h"

namespace bd {
namespace {

// A level change with the end and start of a life in between, as the form
// runs it (the road's sprites aside).
bool NextLevel(TRaceState& s) {
  return AdvanceLevel(s, [&s] {
    if (LoseLife(s)) StartLife(s);
  });
}

TEST(RaceFlow, LevelLengthsRoundHalvesToEven) {
  const std::pair<int32_t, int32_t> cases[] = {{1, 15000}, {2, 18750}, {3, 23438}, {4, 29298},
                                               {5, 36622}, {6, 45778}, {0, 15000}};
  for (auto [level, length] : cases) EXPECT_EQ(LevelLengthFor(level), length) << level;
  EXPECT_EQ(NextLevelLength(23438), 29298);  // 29297.5
  EXPECT_EQ(NextLevelLength(INT32_MAX), INT32_MAX);
  EXPECT_EQ(NextLevelLength(1800000000), INT32_MAX);
}

TEST(RaceFlow, LevelChangesAlongAGame) {
  struct Row {
    int32_t level, length, score, spread, odds;
  };
  // Score gains 50 x (level - 1) at each level; spread loses 7 a level and
  // odds 1 on even levels, both held at their last positive values.
  const Row rows[] = {
      {1, 15000, 0, 300, 10}, {2, 18750, 50, 293, 9}, {3, 23438, 150, 286, 9}, {4, 29298, 300, 279, 8},
      {18, 0, 7650, 181, 1},  {20, 0, 9500, 167, 1},  {22, 0, 11550, 153, 1},  {43, 0, 45150, 6, 1},
      {44, 0, 47300, 6, 1},   {50, 0, 61250, 6, 1},
  };
  TRaceState s;
  size_t row = 0;
  for (int32_t level = 1; level <= 100; ++level) {
    s.Distance = s.LevelLength;
    s.LevelEndState = 3;
    const bool viva = NextLevel(s);
    EXPECT_EQ(viva, level > 1);
    EXPECT_EQ(s.Level, level);
    EXPECT_EQ(s.Lives, 3) << level;  // a level change costs no life
    EXPECT_EQ(s.Distance, 0);
    EXPECT_EQ(s.LevelEndState, 0);
    EXPECT_FALSE(s.RaceRunning);  // the intro holds the race
    EXPECT_GE(s.MeteorOdds, 1) << level;
    EXPECT_GE(s.MeteorSpread, 1) << level;
    EXPECT_GT(s.LevelLength, 0) << level;
    if (row < std::size(rows) && rows[row].level == level) {
      const Row& r = rows[row++];
      if (r.length) {
        EXPECT_EQ(s.LevelLength, r.length) << level;
      }
      EXPECT_EQ(s.Score, r.score) << level;
      EXPECT_EQ(s.MeteorSpread, r.spread) << level;
      EXPECT_EQ(s.MeteorOdds, r.odds) << level;
    }
  }
  EXPECT_EQ(row, std::size(rows));
}

TEST(RaceFlow, LosingALife) {
  TRaceState s;
  s.Level = 3;
  s.Lives = 2;
  s.Score = 640;
  s.Distance = 7000;
  s.StoppedFrames = 150;
  s.BlinkTick = 4;
  s.Health = -12;
  s.Speed = 9;
  s.HasGuns = s.ShotInFlight = s.HasStopMe = s.NitroOn = s.Returning = true;
  s.GunShots = 4;
  s.StopMeCount = 2;
  s.NitroSeconds = 3;
  s.ChasmPiece1 = s.ChasmPiece2 = s.ChasmPiece3 = true;
  s.RaceRunning = true;
  s.Grace = false;
  s.Paused = true;

  ASSERT_TRUE(LoseLife(s));
  TRaceState expected = s;  // what the crash must not touch stays
  expected.Lives = 1;
  expected.Health = 100;
  expected.Speed = 0;
  expected.HasGuns = expected.ShotInFlight = expected.HasStopMe = expected.NitroOn = expected.Returning =
      false;
  expected.GunShots = expected.StopMeCount = expected.NitroSeconds = 0;
  expected.ChasmPiece1 = expected.ChasmPiece2 = expected.ChasmPiece3 = false;
  expected.RaceRunning = false;
  EXPECT_EQ(s, expected);  // distance, level, score, counters and the rest carry over
  StartLife(s);
  EXPECT_TRUE(s.Grace);
  EXPECT_TRUE(s.RaceRunning);
  EXPECT_FALSE(s.Paused);

  // The last life: game over, and the race stays stopped.
  EXPECT_FALSE(LoseLife(s));
  EXPECT_TRUE(s.GameOver);
  EXPECT_EQ(s.Lives, 0);
  EXPECT_FALSE(s.RaceRunning);
}

TEST(RaceFlow, Clocks) {
  TRaceState s;
  for (int tick = 1; tick <= 10; ++tick) EXPECT_FALSE(LevelCompleteTick(s)) << tick;
  EXPECT_EQ(s.LevelEndTick, 10);
  EXPECT_TRUE(LevelCompleteTick(s));
  EXPECT_EQ(s.LevelEndTick, 0);

  s.NitroOn = true;
  s.Speed = NitroSpeed;
  s.SpeedBeforeNitro = 7;
  for (int second = 1; second <= 4; ++second) {
    EXPECT_FALSE(NitroSecondTick(s)) << second;
    EXPECT_EQ(s.Speed, NitroSpeed);
  }
  EXPECT_TRUE(NitroSecondTick(s));
  EXPECT_EQ(s.Speed, 7);
  EXPECT_FALSE(s.NitroOn);
  EXPECT_EQ(s.NitroSeconds, 0);
}

TEST(RaceFlow, StandstillAndHandbrake) {
  struct Case {
    int32_t speed;
    bool handbrake;
    int32_t tick;
    int32_t speedAfter;
    bool handbrakeAfter;
    int32_t tickAfter, stoppedAfter;
  };
  const Case cases[] = {
      {5, true, 4, 4, false, 5, 0},     // fifth frame: one step toward 0
      {5, true, 0, 5, true, 1, 0},      // not yet
      {-3, true, 9, -2, false, 10, 1},  // reversing: up by one
      {0, true, 4, 0, false, 0, 1},     // standing: the handbrake is spent
      {5, false, 5, 5, false, 5, 0},    // released: nothing counts
      {-1, false, 0, -1, false, 0, 1},
  };
  for (const auto& c : cases) {
    TRaceState s;
    s.Speed = c.speed;
    s.Handbrake = c.handbrake;
    s.HandbrakeTick = c.tick;
    PaceStopAndHandbrake(s);
    EXPECT_EQ(s.Speed, c.speedAfter) << c.speed << " " << c.tick;
    EXPECT_EQ(s.Handbrake, c.handbrakeAfter) << c.speed << " " << c.tick;
    EXPECT_EQ(s.HandbrakeTick, c.tickAfter) << c.speed << " " << c.tick;
    EXPECT_EQ(s.StoppedFrames, c.stoppedAfter) << c.speed << " " << c.tick;
  }
}

TEST(RaceFlow, SpawnTableAndLevelRules) {
  using K = TSpawnKind;
  const std::pair<int32_t, K> spawns[] = {{0, K::StopMe}, {10, K::StopMe}, {11, K::Guns},  {20, K::Guns},
                                          {21, K::Medic}, {30, K::Medic},  {31, K::Live},  {34, K::Live},
                                          {35, K::Rocks}, {70, K::Rocks},  {71, K::Nitro}, {80, K::Nitro},
                                          {81, K::Bonus}, {100, K::Bonus}};
  for (auto [r, kind] : spawns) EXPECT_EQ(SpawnKindFor(r), kind) << r;

  struct Level {
    int32_t level;
    double chasmY;
    bool trails;
    int walls;
  };
  const Level levels[] = {{1, 550, false, 2}, {2, 620, true, 2}, {4, 620, true, 2}, {5, 620, true, 3}};
  for (const auto& l : levels) {
    EXPECT_EQ(ChasmStartY(l.level), l.chasmY) << l.level;
    EXPECT_EQ(MeteorTrailsAppear(l.level), l.trails) << l.level;
    EXPECT_EQ(OpeningWallCount(l.level), l.walls) << l.level;
  }
}

}  // namespace
}  // namespace bd
