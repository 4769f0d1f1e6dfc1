#include "race/ChasmSprites.h"

#include <cstdlib>
#include <typeinfo>

#include "engine/images/PictureCollection.h"
#include "race/CarSprites.h"
#include "race/LifeLost.h"
#include "race/MarkerSprites.h"
#include "race/MeteorSprites.h"
#include "race/RaceFlow.h"
#include "race/RaceRunning.h"
#include "race/RoadSprites.h"

namespace bd {

namespace {

// The head never rests lower than this; passing it puts it back a little.
constexpr double kLowestHead = 660;
constexpr double kHeadReset = 650;
// Nothing is swallowed or replaced in the last stretch of a level, so the
// road empties toward the finish.
constexpr int32_t kFinishStretch = 1000;

template <typename... TClasses>
bool IsOneOf(TSprite& s) {
  return ((dynamic_cast<TClasses*>(&s) != nullptr) || ...);
}

}  // namespace

// ---- Head ----

TPropast::TPropast(IRaceHost& host) : TRaceSprite(host) {
  UseImage(pic::Chasm);
  X = 0;
  Y = ChasmStartY(State().Level);
  ChangeZ(1);
  LoopAnimation(0.1);
}

void TPropast::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  TRaceState& s = State();
  if (!s.RaceRunning) return;
  if (!s.Grace) Creep();
  // While the car reverses the chasm rises 1 .. 2|Speed| pixels per frame.
  if (s.Speed < 0) Y -= Host().Random(2 * std::abs(s.Speed)) + 1;
  s.ChasmY = Y;
  AddPieces();
  Collide();
}

void TPropast::Creep() {
  TRaceState& s = State();
  // One pixel up every few frames: slower behind a slow car, faster behind
  // a healthy one.
  if (s.Speed < 4)
    s.ChasmCreepPeriod = 5;
  else if (s.MaxSpeed == 6 || s.MaxSpeed == 8)
    s.ChasmCreepPeriod = 4;
  else if (s.MaxSpeed == 11 || s.MaxSpeed == 14)
    s.ChasmCreepPeriod = 3;
  if (++s.BlinkTick > s.ChasmCreepPeriod) {
    Y -= 1;
    s.BlinkTick = 1;
  }
  // A fast car pushes it back: 0 .. 4 pixels a frame at speed 14.
  if (s.Speed > 0) Y += Host().Random(static_cast<int32_t>(Round(s.Speed / 3.0)));
  if (Y > kLowestHead) Y = kHeadReset;
}

void TPropast::AddPieces() {
  TRaceState& s = State();
  const double h = s.ChasmPieceHeight;
  if (Y + h < s.ScreenHeight && !s.ChasmPiece1) new TPropastPlus1(Host());
  if (Y + 2 * h < s.ScreenHeight && s.ChasmPiece1 && !s.ChasmPiece2) new TPropastPlus2(Host());
  if (Y + 3 * h < s.ScreenHeight && s.ChasmPiece1 && s.ChasmPiece2 && !s.ChasmPiece3)
    new TPropastPlus3(Host());
}

void TPropast::HandleCollision(TSprite& other, bool& /*done*/) {
  if (State().Falling) return;
  if (IsOneOf<TPropastPlus1, TBoomSprite, TMeteorit, TIndexGuns, TIndexStopMe, TIndexNitro>(other)) return;
  // The head-up display is not on the road: a chasm that has risen high
  // behind a reversing car must not blow up the icons or the destination
  // sign, without which a completed level could never end; nor the pictures
  // over the road.
  if (dynamic_cast<TIndexGorod*>(&other) != nullptr || !OnTheRoad(other)) return;
  if (IsOneOf<TLujaUje, TStolb, TTree, TLuja, TWallSprite, TFirstWallSprite>(other)) {
    SwallowObstacle(other);
  } else if (dynamic_cast<TCarSprite*>(&other) != nullptr) {
    DropCar(other);
  } else {
    Swallow(other);
  }
}

void TPropast::SwallowObstacle(TSprite& obstacle) {
  const TRaceState& s = State();
  if (s.LevelLength - s.Distance < kFinishStretch) return;  // it passes over untouched
  // A new obstacle at the top keeps the road from running empty.
  const int32_t r = Host().Random(101);
  if (r <= 10)
    new TStolb(Host());
  else if (r <= 25)
    new TTree(Host());
  else if (r <= 32)
    new TLuja(Host());
  else
    new TWallSprite(Host());
  Swallow(obstacle);
}

void TPropast::Swallow(TSprite& other) {
  new TBoomSprite(Host(), other.X, other.Y);
  other.Kill();
  // From the second level on, what falls in may throw a meteorite back out.
  const TRaceState& s = State();
  if (s.Level >= 2 && s.LevelLength - s.Distance >= kFinishStretch && Host().Random(s.MeteorOdds + 1) == 0 &&
      s.RaceRunning && s.Speed != 0)
    new TMeteorit(Host());
}

void TPropast::DropCar(TSprite& car) {
  // The car falls in once its middle has passed the chasm's edge.
  if (car.Y + car.Height / 2.0 < Y) return;
  TRaceState& s = State();
  Host().PlaySound(snd::Explosion);
  new TBoomSprite(Host(), s.CarX, s.CarY);
  s.Speed = -1;
  car.Visible = false;
  s.Falling = true;
}

// ---- Pieces ----

TPropastPlus::TPropastPlus(IRaceHost& host, int32_t k, double frameSpeed) : TRaceSprite(host), k_(k) {
  TRaceState& s = State();
  UseImage(pic::ChasmLava);
  Flag() = true;
  s.ChasmPieceHeight = Image->Height();
  X = 0;
  Y = s.ChasmY + k_ * s.ChasmPieceHeight;
  ChangeZ(1);
  LoopAnimation(frameSpeed);
}

bool& TPropastPlus::Flag() const {
  TRaceState& s = State();
  return k_ == 1 ? s.ChasmPiece1 : k_ == 2 ? s.ChasmPiece2 : s.ChasmPiece3;
}

void TPropastPlus::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  TRaceState& s = State();
  if (!s.RaceRunning) return;
  Y = s.ChasmY + k_ * s.ChasmPieceHeight;
  // Near the bottom edge a piece is dropped here and remade by the head's
  // next step, so it only collides in the frames it survives.
  if (Y + k_ * s.ChasmPieceHeight > s.ScreenHeight) {
    Flag() = false;
    Kill();
  }
  Collide();
}

void TPropastPlus1::HandleCollision(TSprite& other, bool& /*done*/) {
  if (dynamic_cast<TMeteorit*>(&other) != nullptr || !OnTheRoad(other)) return;
  if (dynamic_cast<TCarSprite*>(&other) != nullptr) {
    // The fallen car has sunk onto the first piece: the life is over.
    TRaceState& s = State();
    StopRace(s);
    s.Falling = false;
    EndLife(Host());
    return;
  }
  other.Kill();
}

}  // namespace bd
