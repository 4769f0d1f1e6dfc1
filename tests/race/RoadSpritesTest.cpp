#include <gtest/gtest.h>

#include <string>

#include "FakeRaceHost.h"
#include "race/CarSprites.h"
#include "race/MeteorSprites.h"
#include "race/PickupSprites.h"
#include "race/RoadSprites.h"
#include "race/ServiceSprites.h"

namespace bd::test {
namespace {

// A car at (298, 399), with its position published as its step would.
TCarSprite* MakeCar(TFakeRaceHost& host) {
  host.Draws.push_back(1);
  auto* car = new TCarSprite(host);
  host.State.CarX = car->X;
  host.State.CarY = car->Y;
  return car;
}

TEST(ObstacleCar, CrashRules) {
  struct TCase {
    const char* Name;
    bool Opening;
    int Speed;
    bool Grace;
    int Health;
    bool Running;
    bool Intro;
    int ExpectHealth;
    int ExpectSpeed;
    double ExpectCarY;
    const char* Sound;  // null: silent
    bool LifeEnds;
  };
  const TCase cases[] = {
      {"plain crash", false, 6, false, 100, true, false, 82, 4, 397, "boom_stena", false},
      {"under grace", false, 6, true, 100, true, false, 100, 4, 397, "boom_stena", false},
      {"backing in heals", false, -3, false, 100, true, false, 109, -5, 397, "boom_stena", false},
      {"at a standstill", false, 0, true, 100, true, false, 100, -2, 397, "boom_stena", false},
      {"wrecked", false, 6, false, 10, true, false, 100, 0, 399, "boom", true},
      {"race stopped", false, 6, false, 100, false, false, 82, 4, 399, nullptr, false},
      {"level intro", false, 6, false, 100, true, true, 100, 6, 399, nullptr, false},
      {"opening car", true, 6, false, 100, true, false, 82, 4, 379, "boom_stena", false},
      {"opening car, race stopped", true, 6, false, 100, false, false, 82, 4, 379, "boom_stena", false},
      {"opening car in the intro", true, 6, false, 100, true, true, 82, 4, 379, "boom_stena", false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TFakeRaceHost host;
    host.State.Level = 1;
    TCarSprite* car = MakeCar(host);
    host.State.Speed = c.Speed;
    host.State.Grace = c.Grace;
    host.State.Health = c.Health;
    host.State.RaceRunning = c.Running;
    host.LevelTimer = c.Intro;
    host.Draws = {0, 1};  // image, lane 1 (x 272): in front of the car
    TRaceSprite* obstacle = c.Opening ? static_cast<TRaceSprite*>(new TFirstWallSprite(host, 380))
                                      : static_cast<TRaceSprite*>(new TWallSprite(host));
    obstacle->Y = 380;
    obstacle->Collide();

    EXPECT_TRUE(obstacle->IsDead());
    EXPECT_EQ(host.State.Lives, c.LifeEnds ? 2 : 3);
    EXPECT_EQ(host.State.Health, c.ExpectHealth);
    EXPECT_EQ(host.State.Speed, c.ExpectSpeed);
    if (c.Sound != nullptr) {
      EXPECT_EQ(host.Sounds, std::vector<std::string>{c.Sound});
    } else {
      EXPECT_TRUE(host.Sounds.empty());
    }
    if (c.LifeEnds) continue;
    EXPECT_EQ(car->Y, c.ExpectCarY);
    const bool crashed = !c.Intro || c.Opening;
    EXPECT_EQ(host.Live<TWallSprite>().size(), crashed ? 1u : 0u);  // the replacement
    const auto booms = host.Live<TBoomSprite>();
    ASSERT_EQ(booms.size(), crashed ? 1u : 0u);
    if (crashed) {
      EXPECT_EQ(booms[0]->X, 282);
      EXPECT_EQ(booms[0]->Y, 380);
    }
  }
}

TEST(ObstacleCar, PictureDependsOnTheLevel) {
  struct TCase {
    int Level;
    std::deque<int32_t> Draws;
    std::string Image;
  };
  const TCase cases[] = {
      {1, {0}, "cars_ok4"},    {1, {3}, "cars_ok3"},     {2, {0}, "cars_broken4"}, {2, {3}, "cars_broken3"},
      {3, {4, 2}, "cars_ok2"}, {4, {1}, "cars_broken1"}, {9, {0}, "cars_broken4"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Level);
    TFakeRaceHost host;
    host.State.Level = c.Level;
    host.Draws = c.Draws;
    EXPECT_EQ(ObstacleCarImage(host).Text(), c.Image);
    EXPECT_TRUE(host.Draws.empty());
  }
}

TEST(RoadsideObstacle, HurtsOnceAndStaysOnTheRoad) {
  struct TCase {
    const char* Name;
    bool Tree;
    int Speed;
    bool Grace;
    int Health;
    int ExpectHealth;
    int ExpectSpeed;
    double BoomX, BoomY;
  };
  // The car stands at (520, 399) by the pole and at (200, 399) by the tree;
  // explosions lie 10 pixels right of their point.
  const TCase cases[] = {
      {"pole", false, 6, false, 100, 82, 4, 530, 399},
      {"pole at a standstill", false, 0, false, 100, 100, -1, 530, 399},
      {"pole backing in", false, -5, false, 100, 115, -1, 530, 399},
      {"pole under grace", false, 6, true, 100, 100, 4, 530, 399},
      {"tree", true, 6, false, 100, 82, 4, 195, 309},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TFakeRaceHost host;
    TCarSprite* car = MakeCar(host);
    car->X = host.State.CarX = c.Tree ? 200 : 520;
    host.State.Speed = c.Speed;
    host.State.Grace = c.Grace;
    host.State.Health = c.Health;
    TRaceSprite* obstacle =
        c.Tree ? static_cast<TRaceSprite*>(new TTree(host)) : static_cast<TRaceSprite*>(new TStolb(host));
    obstacle->Y = 380;
    obstacle->Collide();
    obstacle->Collide();  // still touching in the next frame
    EXPECT_FALSE(obstacle->IsDead());
    EXPECT_EQ(host.State.Health, c.ExpectHealth);
    EXPECT_EQ(host.State.Speed, c.ExpectSpeed);
    EXPECT_EQ(host.Sounds, std::vector<std::string>{"boom_stena"});
    const auto booms = host.Live<TBoomSprite>();
    ASSERT_EQ(booms.size(), 1u);
    EXPECT_EQ(booms[0]->X, c.BoomX);
    EXPECT_EQ(booms[0]->Y, c.BoomY);
  }
}

TEST(RoadsideObstacle, EndsTheLifeOfAWreckAndVanishesInTheIntro) {
  {
    TFakeRaceHost host;
    TCarSprite* car = MakeCar(host);
    car->X = 520;
    host.State.Grace = false;
    host.State.Speed = 6;
    host.State.Health = 18;
    auto* pole = new TStolb(host);
    pole->Y = 380;
    pole->Collide();
    EXPECT_EQ(host.State.Lives, 2);
    EXPECT_TRUE(host.Played("boom"));
  }
  {
    TFakeRaceHost host;
    TCarSprite* car = MakeCar(host);
    car->X = 520;
    host.LevelTimer = true;
    host.State.Speed = 6;
    auto* pole = new TStolb(host);
    pole->Y = 380;
    pole->Collide();
    EXPECT_TRUE(pole->IsDead());
    EXPECT_EQ(host.State.Speed, 6);
    EXPECT_TRUE(host.Sounds.empty());
  }
}

TEST(RoadObjects, RideWithTheRoadOnlyWhileTheRaceRuns) {
  for (bool running : {true, false}) {
    TFakeRaceHost host;
    host.State.RaceRunning = running;
    host.State.Speed = 5;
    auto* road = new TScrollBackground(host);
    auto* wall = new TWallSprite(host);
    host.Draws = {1};
    auto* rocks = new TRocksMassovka(host);
    auto* puddle = new TLuja(host);
    host.Frame();
    const double moved = running ? 5 : 0;
    EXPECT_EQ(road->Y, moved);
    EXPECT_EQ(wall->Y, -50 + moved);
    EXPECT_EQ(rocks->X, 700);
    EXPECT_EQ(rocks->Y, moved);
    EXPECT_EQ(puddle->Y, -50 + moved);
    EXPECT_TRUE(road->Endless);
    EXPECT_FALSE(road->CanCollide);
  }
}

TEST(ServiceSprites, BottomBandRemovesWhatScrollsPastTheChasm) {
  TFakeRaceHost host;
  auto* band = new Tcr_prSprite(host);
  EXPECT_EQ(band->Height, 50);
  auto* bonus = new TBonusSprite(host);
  bonus->Y = 780;
  auto* wall = new TWallSprite(host);
  wall->Y = 700;  // ends at 756, above the band
  band->Step(1);
  EXPECT_TRUE(bonus->IsDead());
  EXPECT_FALSE(wall->IsDead());
}

TEST(ServiceSprites, UpperTriggersReactOnceToAnObstacleCar) {
  TFakeRaceHost host;
  auto* adder = new Tcr_prSprite1(host);
  auto* inert = new Tcr_prSprite2(host);
  auto* pole = new TStolb(host);
  pole->Y = -160;
  adder->Step(1);
  inert->Step(1);
  EXPECT_TRUE(adder->CanCollide);  // only obstacle cars count
  EXPECT_TRUE(inert->CanCollide);

  auto* first = new TWallSprite(host);
  auto* second = new TWallSprite(host);
  first->Y = second->Y = -160;
  adder->Step(1);
  inert->Step(1);
  EXPECT_FALSE(adder->CanCollide);
  EXPECT_FALSE(inert->CanCollide);
  EXPECT_EQ(host.Live<TWallSprite>().size(), 3u);  // one added, although two touched
  adder->Step(1);
  EXPECT_EQ(host.Live<TWallSprite>().size(), 3u);
}

}  // namespace
}  // namespace bd::test
