#include <gtest/gtest.h>

#include "FakeRaceHost.h"
#include "engine/platform/Platform.h"
#include "race/CarSprites.h"
#include "race/MarkerSprites.h"
#include "race/MeteorSprites.h"
#include "race/RoadSprites.h"

namespace bd::test {
namespace {

// A car in the second lane (x 298) on its base line, alone on the road.
TCarSprite* MakeCar(TFakeRaceHost& host) {
  host.Draws.push_back(1);
  return new TCarSprite(host);
}

// Frames after which the speed changed, while `frames` frames are run.
std::vector<int> SpeedChangeFrames(TFakeRaceHost& host, int frames) {
  std::vector<int> changes;
  for (int f = 1; f <= frames; ++f) {
    const int before = host.State.Speed;
    host.Frame();
    if (host.State.Speed != before) changes.push_back(f);
  }
  return changes;
}

TEST(CarSprite, StartsOnItsBaseLineInALane) {
  TFakeRaceHost host;
  TCarSprite* car = MakeCar(host);
  EXPECT_EQ(car->X, 298);
  EXPECT_EQ(car->Y, 399);
  EXPECT_EQ(car->Z(), 2);
  EXPECT_EQ(car->Width, 54);
  EXPECT_EQ(car->Height, 100);
}

TEST(CarSprite, AcceleratesOneStepPerDelayUpToTheDamageLimit) {
  struct TCase {
    int Health;
    int FramesPerStep;
    int Top;
  };
  for (const TCase& c : {TCase{100, 32, 14}, TCase{60, 62, 11}, TCase{30, 92, 8}, TCase{20, 122, 6}}) {
    SCOPED_TRACE(c.Health);
    TFakeRaceHost host;
    MakeCar(host);
    host.State.Health = c.Health;
    host.Keys[vk::Up] = true;
    const std::vector<int> changes = SpeedChangeFrames(host, c.FramesPerStep * (c.Top + 3));
    ASSERT_EQ(changes.size(), static_cast<size_t>(c.Top));
    for (size_t i = 0; i < changes.size(); ++i)
      EXPECT_EQ(changes[i], c.FramesPerStep * static_cast<int>(i + 1));
    EXPECT_EQ(host.State.Speed, c.Top);
    EXPECT_FALSE(host.State.Grace);
  }
}

TEST(CarSprite, CoastsDownOnlyAfterTheFirst500Units) {
  struct TCase {
    int Distance;
    int Frames;
    int Speed;
  };
  for (const TCase& c : {TCase{500, 400, 10}, TCase{501, 31, 10}, TCase{501, 32, 9}, TCase{501, 64, 8}}) {
    SCOPED_TRACE(testing::Message() << c.Distance << " " << c.Frames);
    TFakeRaceHost host;
    MakeCar(host);
    host.State.Speed = 10;
    host.State.Distance = c.Distance;
    for (int f = 0; f < c.Frames; ++f) host.Frame();
    EXPECT_EQ(host.State.Speed, c.Speed);
  }
}

TEST(CarSprite, ReversesOnlyAfter120StoppedFramesAndNeverUnderGrace) {
  struct TCase {
    int StoppedFrames;
    bool Grace;
    int Health;
    int Frames;
    int Speed;
  };
  for (const TCase& c :
       {TCase{120, false, 100, 2000, 0}, TCase{121, true, 100, 2000, 0}, TCase{121, false, 100, 31, 0},
        TCase{121, false, 100, 32, -1}, TCase{121, false, 100, 2000, -7}}) {
    SCOPED_TRACE(testing::Message() << c.StoppedFrames << " " << c.Grace << " " << c.Health << " "
                                    << c.Frames);
    TFakeRaceHost host;
    MakeCar(host);
    host.State.StoppedFrames = c.StoppedFrames;
    host.State.Grace = c.Grace;
    host.State.Health = c.Health;
    host.Keys[vk::Space] = true;
    for (int f = 0; f < c.Frames; ++f) host.Frame();
    EXPECT_EQ(host.State.Speed, c.Speed);
  }
}

TEST(CarSprite, SpeedLimitsFollowTheDamageAndNitro) {
  struct TCase {
    int Health;
    int Speed;
    bool Nitro;
    int Expect;
  };
  for (const TCase& c : {TCase{100, -10, false, -7}, TCase{60, -10, false, -6}, TCase{30, -10, false, -4},
                         TCase{10, -10, false, -3}, TCase{100, 20, false, 14}, TCase{30, 12, false, 8},
                         TCase{30, 15, true, 15}}) {
    SCOPED_TRACE(testing::Message() << c.Health << " " << c.Speed << " " << c.Nitro);
    TFakeRaceHost host;
    MakeCar(host);
    host.State.Grace = false;
    host.State.Health = c.Health;
    host.State.Speed = c.Speed;
    host.State.NitroOn = c.Nitro;
    host.Frame();
    EXPECT_EQ(host.State.Speed, c.Expect);
  }
}

TEST(CarSprite, StaysOnTheRoadAndInThePicture) {
  struct TCase {
    double X, Y;
    int Speed;
    double ExpectX, ExpectY;
  };
  for (const TCase& c :
       {TCase{99, 399, 0, 105, 399}, TCase{100, 399, 0, 100, 399}, TCase{640.5, 399, 0, 640, 399},
        TCase{700, 399, 0, 640, 399}, TCase{300, 450, 0, 300, 399}, TCase{300, 2, 5, 300, 5}}) {
    SCOPED_TRACE(testing::Message() << c.X << " " << c.Y);
    TFakeRaceHost host;
    TCarSprite* car = MakeCar(host);
    car->X = c.X;
    car->Y = c.Y;
    host.State.Speed = c.Speed;
    host.State.Returning = true;
    host.Frame();
    EXPECT_EQ(car->X, c.ExpectX);
    EXPECT_EQ(car->Y, c.ExpectY);
    EXPECT_EQ(host.State.CarX, c.ExpectX);
    EXPECT_EQ(host.State.CarY, c.ExpectY);
  }
}

TEST(CarSprite, SteersByItsSpeedAndNotWhileRollingBack) {
  TFakeRaceHost host;
  TCarSprite* car = MakeCar(host);
  host.Keys[vk::Right] = true;
  host.State.Speed = -4;
  host.State.Grace = false;
  host.State.StoppedFrames = 500;
  host.Frame();
  EXPECT_EQ(car->X, 302);  // sideways by |Speed|, also in reverse
  host.State.Returning = true;
  host.Frame();
  EXPECT_EQ(car->X, 302);
}

TEST(CarSprite, StoppedAboveItsBaseLineRollsBackDown) {
  TFakeRaceHost host;
  TCarSprite* car = MakeCar(host);
  car->Y = 380;
  host.Frame();
  EXPECT_EQ(car->Y, 381);
  EXPECT_EQ(host.State.Speed, 1);
  EXPECT_TRUE(host.State.Returning);
  EXPECT_EQ(host.State.SpeedTick, host.State.AccelDelay + 5);
}

TEST(CarSprite, InstantStopSpendsOneChargePerPress) {
  TFakeRaceHost host;
  MakeCar(host);
  host.State.HasStopMe = true;
  host.State.StopMeCount = 2;
  // Held over several frames: one stop, one charge, one sound.
  host.State.Speed = 9;
  host.Keys[vk::Return] = true;
  for (int frame = 0; frame < 7; ++frame) host.Frame();
  EXPECT_EQ(host.State.Speed, 0);
  EXPECT_EQ(host.State.StopMeCount, 1);
  EXPECT_TRUE(host.Played("ruchnik2"));
  // Still held while the car moves again: no second stop.
  host.State.Speed = 5;
  host.Frame();
  EXPECT_EQ(host.State.Speed, 5);
  EXPECT_EQ(host.State.StopMeCount, 1);
  // Released and pressed again: the last charge.
  host.Keys[vk::Return] = false;
  host.Frame();
  host.Keys[vk::Return] = true;
  host.Frame();
  EXPECT_EQ(host.State.Speed, 0);
  EXPECT_FALSE(host.State.HasStopMe);
}

TEST(CarSprite, ShowsItsDamageOnlyWhileTheRaceRuns) {
  TFakeRaceHost host;
  TCarSprite* car = MakeCar(host);
  host.State.Health = 40;
  host.Frame();
  EXPECT_EQ(car->CurrentPattern(), 2);
  EXPECT_EQ(host.State.MaxSpeed, 8);
  host.State.RaceRunning = false;
  host.Frame();
  EXPECT_EQ(car->CurrentPattern(), 0);
}

TEST(CarSprite, BlinksUnderGraceEveryTwentyFrames) {
  TFakeRaceHost host;
  TCarSprite* car = MakeCar(host);
  for (int f = 0; f < 20; ++f) host.Frame();
  EXPECT_TRUE(car->Visible);
  host.Frame();
  EXPECT_FALSE(car->Visible);
  host.State.Speed = 3;
  host.Frame();
  EXPECT_TRUE(car->Visible);
  EXPECT_FALSE(host.State.Grace);
}

// A pause caught in the blink's hidden half shows the car for the whole
// pause; the blink goes on once the race does. A car that fell into the
// chasm stays hidden.
TEST(CarSprite, ShowsTheBlinkingCarWhilePaused) {
  TFakeRaceHost host;
  TCarSprite* car = MakeCar(host);
  for (int f = 0; f < 21; ++f) host.Frame();
  ASSERT_FALSE(car->Visible);
  host.State.Paused = true;
  host.State.RaceRunning = false;
  for (int f = 0; f < 50; ++f) {
    host.Frame();
    ASSERT_TRUE(car->Visible) << "paused frame " << f;
  }
  host.State.Paused = false;
  host.State.RaceRunning = true;
  bool hiddenAgain = false;
  for (int f = 0; f < 21; ++f) {
    host.Frame();
    hiddenAgain = hiddenAgain || !car->Visible;
  }
  EXPECT_TRUE(hiddenAgain);

  car->Visible = false;
  host.State.Falling = true;
  host.State.Paused = true;
  host.Frame();
  EXPECT_FALSE(car->Visible);
}

TEST(CarSprite, DrivesOffUpwardWhileTheLevelCompleteClockRuns) {
  TFakeRaceHost host;
  TCarSprite* car = MakeCar(host);
  host.State.RaceRunning = false;
  host.LevelCompleteTimer = true;
  host.State.LevelEndTick = 5;
  host.Frame();
  EXPECT_DOUBLE_EQ(car->Y, 389);
  EXPECT_DOUBLE_EQ(host.State.CarY, 389);
}

TEST(CarSprite, SplashesAFreshPuddle) {
  TFakeRaceHost host;
  TCarSprite* car = MakeCar(host);
  host.Draws.push_back(1);
  auto* luja = new TLuja(host);
  luja->Y = 380;
  car->Collide();
  EXPECT_TRUE(host.Played("luja"));
  EXPECT_TRUE(luja->IsDead());
  const auto splashed = host.Live<TLujaUje>();
  ASSERT_EQ(splashed.size(), 1u);
  EXPECT_EQ(splashed[0]->X, 260);
  EXPECT_EQ(splashed[0]->Y, 380);
}

TEST(CarSprite, SkidsAcrossASplashedPuddleToTheFarSide) {
  struct TCase {
    double CarX;
    int Speed;
    int Draw;
    double ExpectX, ExpectY;
  };
  // The splashed puddle lies at x 250 .. 380 (centre 315), y 360.
  for (const TCase& c : {TCase{298, 4, 3, 250 - 54 - 2 - 3, 399 - 5 - 4}, TCase{200, 4, 1, 382 + 1, 390},
                         TCase{298, -3, 2, 250 - 54 - 2 - 2, 399 - 5 + 3}, TCase{298, 0, 0, 194, 394}}) {
    SCOPED_TRACE(testing::Message() << c.CarX << " " << c.Speed);
    TFakeRaceHost host;
    TCarSprite* car = MakeCar(host);
    car->X = c.CarX;
    host.State.Speed = c.Speed;
    new TLujaUje(host, 240, 360);
    host.Draws.push_back(c.Draw);
    car->Collide();
    EXPECT_EQ(car->X, c.ExpectX);
    EXPECT_EQ(car->Y, c.ExpectY);
  }
}

TEST(CarSprite, SplashedPuddleWaitsForTheCarsFrontToReachItsMiddle) {
  TFakeRaceHost host;
  TCarSprite* car = MakeCar(host);
  new TLujaUje(host, 240, 358);  // 41 above the car's top, height 80
  car->Collide();
  EXPECT_EQ(car->X, 298);
}

TEST(CarSprite, MeteorTrailUnderTheFrontEndsNitroAndSlowsToACrawl) {
  struct TCase {
    double TrailY;
    bool Slowed;
  };
  for (const TCase& c : {TCase{414, false}, TCase{415, true}}) {
    TFakeRaceHost host;
    TCarSprite* car = MakeCar(host);
    host.State.NitroOn = true;
    host.NitroTimer = true;
    host.State.NitroSeconds = 3;
    host.State.Speed = 15;
    new TSledMeteoritaSprite(host, 300, c.TrailY - 10);
    car->Collide();
    EXPECT_EQ(host.State.Speed, c.Slowed ? 1 : 15);
    EXPECT_EQ(host.State.NitroOn, !c.Slowed);
    EXPECT_EQ(host.NitroTimer, !c.Slowed);
    EXPECT_EQ(host.State.NitroSeconds, c.Slowed ? 0 : 3);
  }
}

TEST(CarSprite, RemovesItsGunOnceTheShotsAreGone) {
  TFakeRaceHost host;
  TCarSprite* car = MakeCar(host);
  host.State.CarX = car->X;
  host.State.CarY = car->Y;
  auto* gun = new TGunsCar(host);
  host.State.HasGuns = true;
  car->Collide();
  EXPECT_FALSE(gun->IsDead());
  host.State.HasGuns = false;
  car->Collide();
  EXPECT_TRUE(gun->IsDead());
}

TEST(Shot, FiresOnlyWhenRunningArmedAndNoShotInFlight) {
  struct TCase {
    bool Running, Guns, InFlight, Fires;
  };
  for (const TCase& c : {TCase{true, true, false, true}, TCase{false, true, false, false},
                         TCase{true, false, false, false}, TCase{true, true, true, false}}) {
    SCOPED_TRACE(testing::Message() << c.Running << c.Guns << c.InFlight);
    TFakeRaceHost host;
    host.State.RaceRunning = c.Running;
    host.State.HasGuns = c.Guns;
    host.State.GunShots = c.Guns ? 3 : 0;
    host.State.ShotInFlight = c.InFlight;
    EXPECT_EQ(FireShot(host), c.Fires);
    EXPECT_EQ(host.Live<TBuletSprite>().size(), c.Fires ? 1u : 0u);
    EXPECT_EQ(host.State.Score, c.Fires ? 5 : 0);
    EXPECT_EQ(host.Played("shoot"), c.Fires);
  }
}

TEST(Shot, TheLastShotTakesTheGunAway) {
  TFakeRaceHost host;
  host.State.HasGuns = true;
  host.State.GunShots = 1;
  EXPECT_TRUE(FireShot(host));
  EXPECT_FALSE(host.State.HasGuns);
  EXPECT_TRUE(host.State.ShotInFlight);
}

TEST(Shot, DestroysOrdinaryObstacleCarsAndPassesThroughTheRest) {
  TFakeRaceHost host;
  host.State.CarX = 298;
  host.State.CarY = 399;
  host.State.Level = 1;
  host.Draws = {0, 1};  // image, lane: the opening car stands in the shot's lane
  auto* opening = new TFirstWallSprite(host, 380);
  auto* pole = new TStolb(host);
  pole->X = 250;
  pole->Y = 390;
  host.State.HasGuns = true;
  host.State.GunShots = 5;
  ASSERT_TRUE(FireShot(host));
  TBuletSprite* shot = host.Live<TBuletSprite>().at(0);
  shot->Collide();
  EXPECT_FALSE(opening->IsDead());
  EXPECT_FALSE(shot->IsDead());

  host.Draws = {0, 1};  // image, lane
  auto* wall = new TWallSprite(host);
  wall->Y = shot->Y;
  shot->Collide();
  EXPECT_TRUE(wall->IsDead());
  EXPECT_TRUE(shot->IsDead());
  EXPECT_FALSE(host.State.ShotInFlight);
  EXPECT_EQ(host.State.Score, 25);
  EXPECT_TRUE(host.Played("boom"));
  EXPECT_EQ(host.Live<TWallSprite>().size(), 1u);  // the replacement
  EXPECT_EQ(host.Live<TBoomSprite>().size(), 1u);
}

TEST(Shot, FliesUpAndIsGoneAtTheTop) {
  TFakeRaceHost host;
  host.State.CarY = 30;
  host.State.HasGuns = true;
  host.State.GunShots = 5;
  ASSERT_TRUE(FireShot(host));
  host.Frame();
  host.Frame();
  EXPECT_EQ(host.Live<TBuletSprite>().at(0)->Y, -10);
  host.Frame();
  EXPECT_TRUE(host.Live<TBuletSprite>().empty());
  EXPECT_FALSE(host.State.ShotInFlight);
}

}  // namespace
}  // namespace bd::test
