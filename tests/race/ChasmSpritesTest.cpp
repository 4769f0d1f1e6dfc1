#include <gtest/gtest.h>

#include <typeinfo>

#include "FakeRaceHost.h"
#include "race/CarSprites.h"
#include "race/ChasmSprites.h"
#include "race/MarkerSprites.h"
#include "race/MeteorSprites.h"
#include "race/PickupSprites.h"
#include "race/RoadBuilder.h"
#include "race/RoadSprites.h"

namespace bd::test {
namespace {

TEST(Chasm, StartsLowerAfterTheFirstLevel) {
  for (int level : {1, 2, 7}) {
    TFakeRaceHost host;
    host.State.Level = level;
    auto* head = new TPropast(host);
    EXPECT_EQ(head->Y, level == 1 ? 550 : 620);
    EXPECT_EQ(head->Z(), 1);
    EXPECT_TRUE(head->FrameLoop);
  }
}

TEST(Chasm, HeadMovement) {
  struct TCase {
    const char* Name;
    double Y;
    bool Grace;
    int Speed;
    int MaxSpeed;
    std::deque<int32_t> Draws;
    int Frames;
    double ExpectY;
  };
  const TCase cases[] = {
      {"creeps a pixel every 5 frames behind a slow car", 600, false, 0, 14, {}, 16, 597},
      {"every 3 frames behind a fast healthy car",
       600,
       false,
       6,
       14,
       {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       10,
       597},
      {"every 4 frames behind a fast damaged car", 600, false, 6, 8, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 10, 598},
      {"stands still under grace", 600, true, 0, 14, {}, 16, 600},
      {"pushed back by a fast car", 600, false, 14, 14, {4}, 1, 604},
      {"never rests below 660", 658, false, 14, 14, {4}, 1, 650},
      {"660 itself is allowed", 656, false, 14, 14, {4}, 1, 660},
      {"put back when found too low", 665, false, 0, 14, {}, 1, 650},
      {"rises while the car reverses", 600, false, -3, 14, {5}, 1, 594},
      {"rises in reverse also under grace", 600, true, -1, 14, {1}, 1, 598},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TFakeRaceHost host;
    host.State.Level = 1;
    host.State.Grace = c.Grace;
    host.State.Speed = c.Speed;
    host.State.MaxSpeed = c.MaxSpeed;
    auto* head = new TPropast(host);
    head->Y = c.Y;
    host.Draws = c.Draws;
    for (int f = 0; f < c.Frames; ++f) head->Step(1);
    EXPECT_EQ(head->Y, c.ExpectY);
    EXPECT_EQ(host.State.ChasmY, c.ExpectY);
    EXPECT_TRUE(host.Draws.empty());
  }
}

TEST(Chasm, FreezesWhileTheRaceIsStopped) {
  TFakeRaceHost host;
  host.State.Grace = false;
  host.State.RaceRunning = false;
  host.State.Speed = -3;
  auto* head = new TPropast(host);
  for (int f = 0; f < 20; ++f) head->Step(1);
  EXPECT_EQ(head->Y, 550);
  EXPECT_EQ(host.Live<TPropastPlus1>().size(), 0u);
}

TEST(Chasm, FillsTheRoadBelowWithUpToThreePieces) {
  struct TCase {
    double Y;
    size_t Pieces;
  };
  for (const TCase& c :
       {TCase{450, 0}, TCase{449, 1}, TCase{300, 1}, TCase{299, 2}, TCase{149, 3}, TCase{-200, 3}}) {
    SCOPED_TRACE(c.Y);
    TFakeRaceHost host;
    auto* head = new TPropast(host);
    head->Y = c.Y;
    head->Step(1);
    head->Step(1);  // no second set
    const size_t made = host.Live<TPropastPlus1>().size() + host.Live<TPropastPlus2>().size() +
                        host.Live<TPropastPlus3>().size();
    EXPECT_EQ(made, c.Pieces);
    EXPECT_EQ(host.State.ChasmPiece1, c.Pieces >= 1);
    EXPECT_EQ(host.State.ChasmPiece3, c.Pieces >= 3);
    if (c.Pieces >= 2) {
      EXPECT_EQ(host.Live<TPropastPlus2>().at(0)->Y, c.Y + 300);
    }
  }
}

TEST(Chasm, PiecesSurviveOnlyAboveTheirLimit) {
  struct TCase {
    int K;
    double ChasmY;
    bool Survives;
  };
  for (const TCase& c : {TCase{1, 300, true}, TCase{1, 301, false}, TCase{2, 0, true}, TCase{2, 1, false},
                         TCase{3, -300, true}, TCase{3, -299, false}}) {
    SCOPED_TRACE(testing::Message() << c.K << " " << c.ChasmY);
    TFakeRaceHost host;
    host.State.ChasmY = c.ChasmY;
    TPropastPlus* piece = c.K == 1   ? static_cast<TPropastPlus*>(new TPropastPlus1(host))
                          : c.K == 2 ? static_cast<TPropastPlus*>(new TPropastPlus2(host))
                                     : static_cast<TPropastPlus*>(new TPropastPlus3(host));
    bool& flag = c.K == 1   ? host.State.ChasmPiece1
                 : c.K == 2 ? host.State.ChasmPiece2
                            : host.State.ChasmPiece3;
    EXPECT_TRUE(flag);
    EXPECT_EQ(host.State.ChasmPieceHeight, 150);
    piece->Step(1);
    EXPECT_EQ(piece->Y, c.ChasmY + 150 * c.K);
    EXPECT_EQ(!piece->IsDead(), c.Survives);
    EXPECT_EQ(flag, c.Survives);
  }
}

// A chasm head at y 500 on level 1 of 15000 units, and something touching it.
struct TSwallowScene {
  TFakeRaceHost host;
  TPropast* head;

  explicit TSwallowScene(int distance) {
    host.State.Level = 1;
    host.State.Distance = distance;
    head = new TPropast(host);
    head->Y = 500;
  }
};

TEST(Chasm, SwallowsObstaclesAndReplacesThemUntilTheLast1000Units) {
  struct TCase {
    const char* Name;
    int Distance;
    int Draw;
    size_t Poles, Trees, Puddles, Walls;
  };
  const TCase cases[] = {
      {"pole", 14000, 10, 1, 0, 0, 0},   {"tree", 14000, 11, 0, 1, 0, 0},
      {"tree", 14000, 25, 0, 1, 0, 0},   {"puddle", 14000, 26, 0, 0, 1, 0},
      {"puddle", 14000, 32, 0, 0, 1, 0}, {"car", 14000, 33, 0, 0, 0, 1},
      {"car", 14000, 100, 0, 0, 0, 1},   {"finish stretch", 14001, -1, 0, 0, 0, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Name << " " << c.Draw);
    TSwallowScene scene(c.Distance);
    TFakeRaceHost& host = scene.host;
    auto* opening = new TFirstWallSprite(host, 510);
    if (c.Draw >= 0) host.Draws.push_back(c.Draw);
    scene.head->Collide();
    const bool swallowed = c.Draw >= 0;
    EXPECT_EQ(opening->IsDead(), swallowed);
    EXPECT_EQ(host.Live<TBoomSprite>().size(), swallowed ? 1u : 0u);
    EXPECT_EQ(host.Live<TStolb>().size(), c.Poles);
    EXPECT_EQ(host.Live<TTree>().size(), c.Trees);
    EXPECT_EQ(host.Live<TLuja>().size(), c.Puddles);
    EXPECT_EQ(host.Live<TWallSprite>().size(), c.Walls);
    EXPECT_TRUE(host.Live<TMeteorit>().empty());  // never on the first level
  }
}

TEST(Chasm, PickupsAndRocksExplodeWithoutReplacementEvenAtTheFinish) {
  TSwallowScene scene(14500);
  auto* bonus = new TBonusSprite(scene.host);
  bonus->Y = 520;
  scene.host.Draws.push_back(0);
  auto* rocks = new TRocksMassovka(scene.host);
  rocks->Y = 500;
  scene.head->Collide();
  EXPECT_TRUE(bonus->IsDead());
  EXPECT_TRUE(rocks->IsDead());
  EXPECT_EQ(scene.host.Live<TBoomSprite>().size(), 2u);
  EXPECT_TRUE(scene.host.Live<TWallSprite>().empty());
}

TEST(Chasm, IgnoresExplosionsMeteoritesAndEverythingWhileTheCarFalls) {
  TSwallowScene scene(0);
  TFakeRaceHost& host = scene.host;
  auto* boom = new TBoomSprite(host, 300, 500);
  host.Draws = {300};
  auto* meteor = new TMeteorit(host);
  auto* wall = new TWallSprite(host);
  wall->Y = 510;
  host.State.Falling = true;
  scene.head->Collide();
  EXPECT_FALSE(boom->IsDead());
  EXPECT_FALSE(meteor->IsDead());
  EXPECT_FALSE(wall->IsDead());
  host.State.Falling = false;
  scene.head->Collide();
  EXPECT_FALSE(boom->IsDead());
  EXPECT_FALSE(meteor->IsDead());
  EXPECT_TRUE(wall->IsDead());
}

TEST(Chasm, LeavesTheHeadUpDisplayAlone) {
  TFakeRaceHost host;
  BuildRoadForLife(host);
  auto* head = host.Live<TPropast>().at(0);
  head->Y = 30;  // risen over the icons and the destination sign
  head->Collide();
  EXPECT_TRUE(host.Live<TBoomSprite>().empty());
  EXPECT_EQ(host.Live<TIndexGorod>().size(), 1u);
  int icons = 0;
  for (int32_t i = 0; i < host.Engine().ChildCount(); ++i) {
    TSprite* s = host.Engine().ChildAt(i);
    if (typeid(*s) == typeid(TImageSprite) && !s->IsDead()) ++icons;
  }
  EXPECT_EQ(icons, 3);
}

// A picture the front end lays over the road, as the exit question's frame.
class TPictureOverTheRoad : public TImageSprite {
 public:
  using TImageSprite::TImageSprite;
};

TEST(Chasm, LeavesThePicturesOverTheRoadAlone) {
  TSwallowScene scene(0);
  scene.host.State.Level = 2;
  scene.host.State.Speed = 5;
  auto* piece = new TPropastPlus1(scene.host);
  piece->Y = 500;
  auto* picture = new TPictureOverTheRoad(&scene.host.Engine());
  picture->Image = &scene.host.FindImage(pic::Bonus);
  picture->Width = 40;
  picture->Height = 40;
  picture->X = 300;
  picture->Y = 520;
  scene.head->Collide();
  piece->Collide();
  EXPECT_FALSE(picture->IsDead());
  EXPECT_TRUE(scene.host.Live<TBoomSprite>().empty());
  EXPECT_TRUE(scene.host.Asked.empty());  // no meteorite drawn for it
}

TEST(Chasm, SwallowedObjectsMayReleaseAMeteoriteFromLevel2) {
  struct TCase {
    const char* Name;
    int Level;
    int Speed;
    int Distance;
    std::deque<int32_t> Draws;  // the odds, then the meteorite's place
    bool Meteorite;
  };
  const TCase cases[] = {
      {"level 2, lucky draw", 2, 5, 0, {0, 0}, true},
      {"level 2, other draw", 2, 5, 0, {3}, false},
      {"level 1", 1, 5, 0, {}, false},
      {"standing car", 2, 0, 0, {}, false},
      {"finish stretch", 2, 5, 14001, {}, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSwallowScene scene(c.Distance);
    TFakeRaceHost& host = scene.host;
    host.State.Level = c.Level;
    host.State.Speed = c.Speed;
    host.State.CarX = 298;
    auto* bonus = new TBonusSprite(host);
    bonus->Y = 520;
    host.Draws = c.Draws;
    scene.head->Collide();
    EXPECT_TRUE(bonus->IsDead());
    EXPECT_EQ(host.Live<TMeteorit>().size(), c.Meteorite ? 1u : 0u);
    EXPECT_TRUE(host.Draws.empty());
  }
}

TEST(Chasm, CarDropsInOnceItsMiddleHasPassedTheEdge) {
  for (double headY : {449.0, 450.0}) {
    SCOPED_TRACE(headY);
    TSwallowScene scene(0);
    TFakeRaceHost& host = scene.host;
    host.Draws = {1};
    auto* car = new TCarSprite(host);  // y 399 .. 499, middle 449
    host.State.CarX = car->X;
    host.State.CarY = car->Y;
    host.State.Speed = 4;
    scene.head->Y = headY;
    scene.head->Collide();
    const bool drops = headY <= 449;
    EXPECT_EQ(host.State.Falling, drops);
    EXPECT_EQ(car->Visible, !drops);
    EXPECT_EQ(host.State.Speed, drops ? -1 : 4);
    EXPECT_EQ(host.Played("boom"), drops);
    EXPECT_FALSE(car->IsDead());
  }
}

TEST(Chasm, FirstPieceEndsTheFallAndKillsWhatItTouches) {
  TFakeRaceHost host;
  host.State.ChasmY = 250;
  auto* piece = new TPropastPlus1(host);  // y 400 .. 550
  auto* bonus = new TBonusSprite(host);
  bonus->Y = 450;
  host.Draws = {300};
  host.State.CarX = 300;
  auto* meteor = new TMeteorit(host);
  piece->Collide();
  EXPECT_TRUE(bonus->IsDead());
  EXPECT_FALSE(meteor->IsDead());
  EXPECT_TRUE(host.Live<TBoomSprite>().empty());
  EXPECT_EQ(host.State.Lives, 3);

  host.Draws = {1};
  new TCarSprite(host);
  host.State.Falling = true;
  piece->Collide();
  EXPECT_FALSE(host.State.Falling);
  EXPECT_EQ(host.State.Lives, 2);
  EXPECT_TRUE(host.State.RaceRunning);  // the next life is under way
}

}  // namespace
}  // namespace bd::test
