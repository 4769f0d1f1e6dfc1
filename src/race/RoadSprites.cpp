#include "race/RoadSprites.h"

#include <algorithm>

#include "race/CarSprites.h"
#include "race/LifeLost.h"
#include "race/MeteorSprites.h"

namespace bd {

namespace {

constexpr int32_t kWallLaneOffset = 22;
constexpr double kTopOfRoad = -50;

// The step of everything that lies on the road: probe, then ride along.
void RoadStep(TRaceSprite& sprite, TRaceState& s) {
  sprite.Collide();
  if (s.RaceRunning) sprite.Y += s.Speed;
}

// A car that hits an obstacle loses three health per unit of speed (and
// gains as much when backing into it), unless it is under grace.
void DamageByCrash(TRaceState& s) {
  if (!s.Grace) s.Health -= 3 * s.Speed;
}

// The shared part of both obstacle cars' crash: explosion, replacement,
// damage and loss of speed. The end of the life is left to the caller.
void CrashIntoObstacleCar(TRaceSprite& wall, TRaceState& s) {
  IRaceHost& host = wall.Host();
  new TBoomSprite(host, wall.X, wall.Y);
  wall.Kill();
  new TWallSprite(host);
  DamageByCrash(s);
  s.Speed -= 2;  // the car's own limits apply at its next step
}

// The crash sound, and the end of the life when the car is wrecked.
void SoundOrEndLife(IRaceHost& host, const TRaceState& s) {
  if (s.Health <= 0) {
    host.PlaySound(snd::Explosion);
    EndLife(host);
  } else {
    host.PlaySound(snd::WallHit);
  }
}

// A pole or tree: one hit per object; `boomX`, `boomY` is the point of the
// explosion.
template <typename TObstacle>
void HitRoadside(TObstacle& obstacle, TRaceState& s, double boomX, double boomY) {
  IRaceHost& host = obstacle.Host();
  if (obstacle.Hit) return;
  if (host.LevelTimerEnabled()) {
    obstacle.Kill();
    return;
  }
  obstacle.Hit = true;
  DamageByCrash(s);
  s.Speed = std::max(s.Speed - 2, -1);
  new TBoomSprite(host, boomX, boomY);
  if (s.Health > 0) {
    host.PlaySound(snd::WallHit);
  } else {
    host.PlaySound(snd::Explosion);
    EndLife(host);
  }
}

TPictureName IntactCarImage(IRaceHost& host) {
  static constexpr TPictureName kIntact[] = {pic::IntactCar4, pic::IntactCar1, pic::IntactCar2,
                                             pic::IntactCar3};
  return kIntact[host.Random(4)];
}

TPictureName WreckImage(int32_t r) {
  static constexpr TPictureName kWrecks[] = {pic::WreckedCar4, pic::WreckedCar1, pic::WreckedCar2,
                                             pic::WreckedCar3};
  return kWrecks[r];
}

}  // namespace

TPictureName ObstacleCarImage(IRaceHost& host) {
  const int32_t level = host.RaceState().Level;
  if (level <= 1) return IntactCarImage(host);
  if (level <= 3) {
    const int32_t r = host.Random(5);
    return r < 4 ? WreckImage(r) : IntactCarImage(host);
  }
  return WreckImage(host.Random(4));
}

// ---- Road ----

TScrollBackground::TScrollBackground(IRaceHost& host) : TBackgroundSprite(&host.Engine()), host_(host) {
  Image = &host.FindImage(pic::Road);
  ResizeMap(200, 10);
  Endless = true;
}

void TScrollBackground::Step(int32_t /*moveCount*/) {
  const TRaceState& s = host_.RaceState();
  if (s.RaceRunning) Y += s.Speed;
}

// ---- Obstacle cars ----

TWallSprite::TWallSprite(IRaceHost& host) : TRaceSprite(host) {
  UseImage(ObstacleCarImage(host));
  X = RandomLane(kWallLaneOffset);
  Y = kTopOfRoad;
  ChangeZ(2);
}

void TWallSprite::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  RoadStep(*this, State());
}

void TWallSprite::HandleCollision(TSprite& other, bool& /*done*/) {
  if (dynamic_cast<TCarSprite*>(&other) == nullptr) return;
  TRaceState& s = State();
  // During the level intro an obstacle in the car's way just vanishes.
  if (Host().LevelTimerEnabled()) {
    Kill();
    return;
  }
  CrashIntoObstacleCar(*this, s);
  if (s.RaceRunning) {
    other.Y -= 2;
    SoundOrEndLife(Host(), s);
  }
}

TFirstWallSprite::TFirstWallSprite(IRaceHost& host, double y) : TRaceSprite(host) {
  UseImage(ObstacleCarImage(host));
  X = RandomLane(kWallLaneOffset);
  Y = y;
  ChangeZ(2);
}

void TFirstWallSprite::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  RoadStep(*this, State());
}

void TFirstWallSprite::HandleCollision(TSprite& other, bool& /*done*/) {
  if (dynamic_cast<TCarSprite*>(&other) == nullptr) return;
  TRaceState& s = State();
  CrashIntoObstacleCar(*this, s);
  other.Y -= 20;
  SoundOrEndLife(Host(), s);
}

// ---- Pole and tree ----

TStolb::TStolb(IRaceHost& host) : TRaceSprite(host) {
  UseImage(pic::Pole);
  X = 500;
  Y = kTopOfRoad;
  ChangeZ(3);
}

void TStolb::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  RoadStep(*this, State());
}

void TStolb::HandleCollision(TSprite& other, bool& /*done*/) {
  if (dynamic_cast<TCarSprite*>(&other) == nullptr) return;
  HitRoadside(*this, State(), other.X, other.Y);
}

TTree::TTree(IRaceHost& host) : TRaceSprite(host) {
  UseImage(pic::Tree);
  X = 50;
  Y = kTopOfRoad;
  ChangeZ(4);
}

void TTree::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  RoadStep(*this, State());
}

void TTree::HandleCollision(TSprite& other, bool& /*done*/) {
  if (dynamic_cast<TCarSprite*>(&other) == nullptr) return;
  const TRaceState& s = State();
  HitRoadside(*this, State(), s.CarX - 15, s.CarY - 90);
}

// ---- Scenery and puddles ----

TRocksMassovka::TRocksMassovka(IRaceHost& host) : TRaceSprite(host) {
  UseImage(pic::Rocks);
  X = host.Random(2) == 1 ? 700 : 0;
  Y = 0;
  ChangeZ(2);
}

void TRocksMassovka::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  RoadStep(*this, State());
}

TLuja::TLuja(IRaceHost& host) : TRaceSprite(host) {
  UseImage(pic::Puddle);
  X = RandomLane(0);
  Y = kTopOfRoad;
  ChangeZ(1);
}

void TLuja::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  RoadStep(*this, State());
}

TLujaUje::TLujaUje(IRaceHost& host, double x, double y) : TRaceSprite(host) {
  UseImage(pic::PuddleSplashed);
  X = x + 10;
  Y = y;
  ChangeZ(2);
}

void TLujaUje::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  RoadStep(*this, State());
}

}  // namespace bd
