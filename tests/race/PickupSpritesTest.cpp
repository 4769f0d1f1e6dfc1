#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "FakeRaceHost.h"
#include "race/CarSprites.h"
#include "race/MarkerSprites.h"
#include "race/PickupSprites.h"
#include "race/RaceFlow.h"

namespace bd::test {
namespace {

// Runs the car over a pickup made by `make` (which gets the car's lane).
void Collect(TFakeRaceHost& host, const std::function<TRaceSprite*()>& make) {
  if (host.Live<TCarSprite>().empty()) {
    host.Draws.push_back(1);
    auto* car = new TCarSprite(host);
    host.State.CarX = car->X;
    host.State.CarY = car->Y;
  }
  host.Draws.push_back(1);
  TRaceSprite* pickup = make();
  pickup->Y = 420;
  pickup->Collide();
  EXPECT_TRUE(pickup->IsDead());
}

template <typename T>
std::function<TRaceSprite*()> Make(TFakeRaceHost& host) {
  return [&host] { return new T(host); };
}

TEST(Pickup, EffectsPointsAndSounds) {
  struct TCase {
    const char* Name;
    std::function<TRaceSprite*(TFakeRaceHost&)> Make;
    int Health;
    int ExpectLives, ExpectHealth, ExpectScore;
    const char* Sound;
  };
  const TCase cases[] = {
      {"life", [](TFakeRaceHost& h) { return new TLiveSprite(h); }, 100, 4, 100, 20, "live"},
      {"repair", [](TFakeRaceHost& h) { return new TMedicSprite(h); }, 50, 3, 70, 20, "beep"},
      {"repair capped", [](TFakeRaceHost& h) { return new TMedicSprite(h); }, 90, 3, 100, 20, "beep"},
      {"bonus", [](TFakeRaceHost& h) { return new TBonusSprite(h); }, 100, 3, 100, 100, "beep"},
      {"gun", [](TFakeRaceHost& h) { return new TGunsSprite(h); }, 100, 3, 100, 20, "bell"},
      {"instant stop", [](TFakeRaceHost& h) { return new TStopMeSprite(h); }, 100, 3, 100, 20, "beep"},
      {"nitro", [](TFakeRaceHost& h) { return new TNitroSprite(h); }, 100, 3, 100, 50, "beep"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TFakeRaceHost host;
    host.State.Health = c.Health;
    Collect(host, [&] { return c.Make(host); });
    EXPECT_EQ(host.State.Lives, c.ExpectLives);
    EXPECT_EQ(host.State.Health, c.ExpectHealth);
    EXPECT_EQ(host.State.Score, c.ExpectScore);
    EXPECT_EQ(host.Sounds, std::vector<std::string>{c.Sound});
  }
}

TEST(Pickup, OnlyTheCarCollects) {
  TFakeRaceHost host;
  host.Draws = {1, 1};
  auto* bonus = new TBonusSprite(host);
  auto* life = new TLiveSprite(host);
  life->Y = bonus->Y;
  bonus->Collide();
  EXPECT_FALSE(bonus->IsDead());
  EXPECT_EQ(host.State.Score, 0);
}

TEST(Pickup, PlacesAndRemovalAtTheBottom) {
  struct TCase {
    const char* Name;
    std::function<TRaceSprite*(TFakeRaceHost&)> Make;
    double X, Y;
    bool RemovedAt1000;
  };
  // Lane 2 (x 400) in every case.
  const TCase cases[] = {
      {"life", [](TFakeRaceHost& h) { return new TLiveSprite(h); }, 460, 25, true},
      {"repair", [](TFakeRaceHost& h) { return new TMedicSprite(h); }, 455, -40, true},
      {"gun", [](TFakeRaceHost& h) { return new TGunsSprite(h); }, 455, -40, true},
      {"bonus", [](TFakeRaceHost& h) { return new TBonusSprite(h); }, 455, -40, true},
      {"instant stop", [](TFakeRaceHost& h) { return new TStopMeSprite(h); }, 455, -40, false},
      {"nitro", [](TFakeRaceHost& h) { return new TNitroSprite(h); }, 455, -40, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TFakeRaceHost host;
    host.Draws = {2};
    TRaceSprite* pickup = c.Make(host);
    EXPECT_EQ(pickup->X, c.X);
    EXPECT_EQ(pickup->Y, c.Y);
    host.State.Speed = 5;
    pickup->Y = 999;
    pickup->Step(1);
    EXPECT_FALSE(pickup->IsDead());
    pickup->Step(1);
    EXPECT_EQ(pickup->IsDead(), c.RemovedAt1000);
  }
}

TEST(Pickup, SecondGunAddsShotsAndAGunButNoSecondMarker) {
  TFakeRaceHost host;
  Collect(host, Make<TGunsSprite>(host));
  Collect(host, Make<TGunsSprite>(host));
  EXPECT_TRUE(host.State.HasGuns);
  EXPECT_EQ(host.State.GunShots, 10);
  EXPECT_EQ(host.Live<TIndexGuns>().size(), 1u);
  EXPECT_EQ(host.Live<TGunsCar>().size(), 2u);
}

TEST(Pickup, SecondStopKitAddsChargesButNoSecondMarker) {
  TFakeRaceHost host;
  Collect(host, Make<TStopMeSprite>(host));
  Collect(host, Make<TStopMeSprite>(host));
  EXPECT_EQ(host.State.StopMeCount, 10);
  EXPECT_EQ(host.Live<TIndexStopMe>().size(), 1u);
}

TEST(Pickup, MarkersStackDownwardAndStartAgainAtTheTop) {
  TFakeRaceHost host;
  Collect(host, Make<TGunsSprite>(host));
  Collect(host, Make<TNitroSprite>(host));
  Collect(host, Make<TStopMeSprite>(host));
  EXPECT_EQ(host.State.GunsMarkerY, 220);
  EXPECT_EQ(host.State.NitroMarkerY, 270);
  EXPECT_EQ(host.State.StopMeMarkerY, 320);
  EXPECT_EQ(host.Live<TIndexNitro>().at(0)->Y, 270);

  // Every power-up ends: the markers go with them.
  host.State.HasGuns = host.State.HasStopMe = host.State.NitroOn = false;
  host.NitroTimer = false;
  host.Frame();
  EXPECT_TRUE(host.Live<TIndexGuns>().empty());
  EXPECT_TRUE(host.Live<TIndexStopMe>().empty());
  EXPECT_TRUE(host.Live<TIndexNitro>().empty());
  EXPECT_TRUE(host.Live<TNitroCar>().empty());
  EXPECT_TRUE(host.Live<TGunsCar>().empty());  // the car throws the empty gun away

  host.State.StopMeCount = 0;
  Collect(host, Make<TStopMeSprite>(host));
  EXPECT_EQ(host.State.StopMeMarkerY, 220);
}

TEST(Pickup, NitroHoldsFifteenAndGivesTheSpeedBackAfterFiveSeconds) {
  TFakeRaceHost host;
  host.State.Speed = 8;
  Collect(host, Make<TNitroSprite>(host));
  EXPECT_TRUE(host.State.NitroOn);
  EXPECT_TRUE(host.NitroTimer);
  EXPECT_EQ(host.State.Speed, 15);
  EXPECT_EQ(host.State.SpeedBeforeNitro, 8);
  EXPECT_EQ(host.Live<TIndexNitro>().size(), 1u);
  EXPECT_EQ(host.Live<TNitroCar>().size(), 1u);
  for (int s = 0; s < 4; ++s) EXPECT_FALSE(NitroSecondTick(host.State));
  EXPECT_TRUE(NitroSecondTick(host.State));
  EXPECT_EQ(host.State.Speed, 8);
  EXPECT_FALSE(host.State.NitroOn);
}

TEST(Pickup, SecondNitroRestartsTheCountAndKeepsFifteen) {
  TFakeRaceHost host;
  host.State.Speed = 8;
  Collect(host, Make<TNitroSprite>(host));
  for (int s = 0; s < 3; ++s) NitroSecondTick(host.State);
  Collect(host, Make<TNitroSprite>(host));
  EXPECT_EQ(host.State.NitroSeconds, 0);
  EXPECT_EQ(host.State.SpeedBeforeNitro, 15);
  EXPECT_EQ(host.Live<TIndexNitro>().size(), 1u);
  for (int s = 0; s < 4; ++s) EXPECT_FALSE(NitroSecondTick(host.State));
  EXPECT_TRUE(NitroSecondTick(host.State));
  EXPECT_EQ(host.State.Speed, 15);
}

TEST(CarDressing, FollowsTheCarAndGoesWithItsPowerUp) {
  struct TCase {
    const char* Name;
    std::function<void(TRaceState&)> End;
    bool GunGone, FlamesGone;
  };
  const TCase cases[] = {
      {"nothing ends", [](TRaceState&) {}, false, false},
      {"falling", [](TRaceState& s) { s.Falling = true; }, true, true},
      {"wrecked", [](TRaceState& s) { s.Health = 0; }, true, true},
      {"level done", [](TRaceState& s) { s.LevelEndState = 1; }, true, false},
      {"nitro over", [](TRaceState& s) { s.NitroOn = false; }, false, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TFakeRaceHost host;
    host.State.NitroOn = true;
    host.State.CarX = 300;
    host.State.CarY = 399;
    host.State.Distance = 0;
    auto* gun = new TGunsCar(host);
    auto* flames = new TNitroCar(host);
    EXPECT_EQ(flames->Y, 489);
    host.State.CarX = 310;
    host.State.CarY = 380;
    c.End(host.State);
    gun->Step(1);
    flames->Step(1);
    EXPECT_EQ(gun->X, 316);
    EXPECT_EQ(gun->Y, 400);
    EXPECT_EQ(flames->X, 310);
    EXPECT_EQ(flames->Y, 475);  // sin(0) = 0
    EXPECT_EQ(gun->IsDead(), c.GunGone);
    EXPECT_EQ(flames->IsDead(), c.FlamesGone);
  }
}

TEST(DestinationSign, GrowsToTwoHundredDuringTheLevelEnd) {
  TFakeRaceHost host;
  auto* sign = new TIndexGorod(host);
  EXPECT_EQ(sign->X, 730);
  EXPECT_EQ(sign->Width, 70);
  host.Frame();
  EXPECT_EQ(sign->Width, 70);  // only while the level-end sequence asks for it
  host.State.LevelEndState = 1;
  int frames = 0;
  while (host.State.LevelEndState == 1 && frames < 1000) {
    host.Frame();
    ++frames;
  }
  EXPECT_EQ(frames, 131);
  EXPECT_EQ(host.State.LevelEndState, 2);
  EXPECT_EQ(sign->Width, 200);
  EXPECT_EQ(sign->Height, 190);
  EXPECT_NEAR(sign->X, 730 - 3.3 * 130, 1e-9);
  EXPECT_NEAR(sign->Y, 195, 1e-9);
}

}  // namespace
}  // namespace bd::test
