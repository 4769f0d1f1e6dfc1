#include <gtest/gtest.h>

#include "FakeRaceHost.h"
#include "engine/platform/Platform.h"
#include "race/CarSprites.h"
#include "race/ChasmSprites.h"
#include "race/RaceFlow.h"
#include "race/RandomSpawns.h"
#include "race/RoadBuilder.h"

namespace bd::test {
namespace {

// Drives the real road for a long while with a restless player: the road's
// own bookkeeping done with the race frame's own spawning and distance, and
// after every frame the rules that must always hold.
TEST(RoadDrive, ALongDriveKeepsTheRulesOfTheRoad) {
  TFakeRaceHost host;
  TRaceState& s = host.State;
  s.Level = 3;  // wrecks, meteorites that burst and hurt
  s.Lives = 1000;
  BuildRoadForLife(host);
  StartLife(s);

  int nitroFrames = 0;
  int livesEnded = 0;
  const TCarSprite* lastCar = nullptr;  // every new life brings a new car
  for (int frame = 0; frame < 40000; ++frame) {
    SCOPED_TRACE(frame);
    // The player: mostly full throttle, weaving between lanes, now and then
    // braking, reversing, stopping dead or shooting.
    const int phase = frame % 900;
    host.Keys.fill(false);
    host.Keys[vk::Up] = phase < 600;
    host.Keys[vk::Left] = (frame / 90) % 3 == 0;
    host.Keys[vk::Right] = (frame / 90) % 3 == 2;
    host.Keys[vk::Down] = phase >= 600 && phase < 650;
    host.Keys[vk::Space] = phase >= 700;
    host.Keys[vk::Return] = phase == 650;
    if (frame % 37 == 0) FireShot(host);

    host.Engine().MoveTree(1);
    PaceStopAndHandbrake(s);
    host.Engine().RemoveDead();
    SpawnPickupAtRandom(host);
    CoverDistance(s);
    SpawnMeteorTrailAtRandom(host);
    if (s.NitroOn) s.Speed = NitroSpeed;
    if (host.NitroTimer && ++nitroFrames % 66 == 0 && NitroSecondTick(s)) host.NitroTimer = false;
    if (s.Distance >= s.LevelLength) s.Distance = 0;  // keep driving the same level

    const auto cars = host.Live<TCarSprite>();
    ASSERT_EQ(cars.size(), 1u);
    const bool newLife = lastCar != nullptr && cars[0] != lastCar;
    lastCar = cars[0];
    if (newLife) ++livesEnded;
    if (!s.Falling && !newLife) {
      // Where the car's step left it, before crashes and skids moved it on.
      ASSERT_GE(s.CarX, 100);
      ASSERT_LE(s.CarX, 640);
      ASSERT_GE(s.CarY, 5);
      ASSERT_LE(s.CarY, 399);
      ASSERT_LE(s.Speed, s.NitroOn ? NitroSpeed : 14);
      ASSERT_GE(s.Speed, s.Grace ? -2 : -9);
    }
    ASSERT_EQ(host.Live<TPropast>().size(), 1u);
    ASSERT_LE(host.Live<TPropast>()[0]->Y, 660);
    ASSERT_EQ(host.Live<TPropastPlus1>().size(), s.ChasmPiece1 ? 1u : 0u);
    ASSERT_EQ(host.Live<TPropastPlus2>().size(), s.ChasmPiece2 ? 1u : 0u);
    ASSERT_EQ(host.Live<TPropastPlus3>().size(), s.ChasmPiece3 ? 1u : 0u);
    ASSERT_LT(host.Engine().SpriteCount(), 200);  // what leaves the road is removed
    ASSERT_LE(s.Health, 200);
  }
  // The drive met obstacles, the chasm and pickups on its way.
  EXPECT_GT(livesEnded, 0);
  EXPECT_GT(s.Score, 0);
}

}  // namespace
}  // namespace bd::test
