#include "race/MeteorSprites.h"

#include "engine/base/Types.h"
#include "race/CarSprites.h"
#include "race/RoadSprites.h"

namespace bd {

namespace {

constexpr double kMeteorStartY = 500;
constexpr double kMeteorRise = 10;
// From the third level on a meteorite bursts once it is this high up.
constexpr double kBurstBelowY = 150;
constexpr double kBoomGoneBelowY = 700;

}  // namespace

// ---- Meteorite ----

TMeteorit::TMeteorit(IRaceHost& host) : TRaceSprite(host) {
  const TRaceState& s = State();
  UseImage(pic::Meteorite);
  // Anywhere within the spread around the car; but one that would come up
  // right under the car moves beside it two times in three.
  const int32_t spread = s.MeteorSpread;
  const double x0 = static_cast<double>(Round(s.CarX) + spread - host.Random(2 * spread + 1));
  if (x0 >= s.CarX - 35 && x0 <= s.CarX + 85 && host.Random(3) >= 1)
    X = s.CarX + 95;
  else
    X = x0;
  Y = kMeteorStartY;
  ChangeZ(10);
  LoopAnimation(0.5);
  host.PlaySound(snd::MeteoriteFalls);
}

void TMeteorit::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  const TRaceState& s = State();
  if (!s.RaceRunning) return;
  if (Y < 0) Kill();  // out at the top of the picture
  if (s.Level > 2 && Y < kBurstBelowY) Explode();
  Y -= kMeteorRise;  // whatever the car's speed
  Collide();
}

void TMeteorit::Explode() {
  new TBoomSprite(Host(), X, Y);
  Host().PlaySound(snd::Explosion);
  new TSledMeteoritaSprite(Host(), X, Y);
  Kill();
}

void TMeteorit::HandleCollision(TSprite& other, bool& /*done*/) {
  // On the second level meteorites fly through everything.
  TRaceState& s = State();
  if (s.Level <= 2) return;
  if (dynamic_cast<TWallSprite*>(&other) != nullptr || dynamic_cast<TFirstWallSprite*>(&other) != nullptr) {
    Explode();
    // The burnt-out car stays on the road, unseen, and still hurts.
    other.Visible = false;
  } else if (dynamic_cast<TCarSprite*>(&other) != nullptr) {
    Host().PlaySound(snd::Explosion);
    new TBoomSprite(Host(), s.CarX, s.CarY);
    // This alone never ends the life; the next crash into an obstacle does.
    s.Health -= 15;
    Kill();
  }
}

// ---- Trail ----

TSledMeteoritaSprite::TSledMeteoritaSprite(IRaceHost& host, double x, double y) : TRaceSprite(host) {
  UseImage(pic::MeteoriteTrail);
  X = x - 20;
  Y = y + 10;
  ChangeZ(1);
  PlayOnce(0.25);
}

void TSledMeteoritaSprite::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  ScrollWithRoad();
  Collide();
}

// ---- Explosion ----

TBoomSprite::TBoomSprite(IRaceHost& host, double x, double y) : TRaceSprite(host) {
  UseImage(pic::Explosion);
  X = x + 10;
  Y = y;
  ChangeZ(2);
  PlayOnce(0.25);
}

void TBoomSprite::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  ScrollWithRoad();
  if (Y > kBoomGoneBelowY) Kill();
}

}  // namespace bd
