#include "race/ServiceSprites.h"

#include "race/RoadSprites.h"

namespace bd {

namespace {
constexpr double kUpperTriggerY = -150;
}  // namespace

Tcr_prSprite::Tcr_prSprite(IRaceHost& host) : TRaceSprite(host) {
  UseImage(pic::BandBelow);
  Height = 50;
  X = 0;
  Y = 800;
  ChangeZ(2);
}

void Tcr_prSprite::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  Collide();
}

void Tcr_prSprite::HandleCollision(TSprite& other, bool& /*done*/) { other.Kill(); }

Tcr_prSprite1::Tcr_prSprite1(IRaceHost& host) : TRaceSprite(host) {
  UseImage(pic::BandAbove);
  X = 0;
  Y = kUpperTriggerY;
  ChangeZ(2);
}

void Tcr_prSprite1::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  Collide();
}

void Tcr_prSprite1::HandleCollision(TSprite& other, bool& /*done*/) {
  if (dynamic_cast<TWallSprite*>(&other) == nullptr || !CanCollide) return;
  CanCollide = false;
  new TWallSprite(Host());
}

Tcr_prSprite2::Tcr_prSprite2(IRaceHost& host) : TRaceSprite(host) {
  UseImage(pic::BandAbove);
  X = 0;
  Y = kUpperTriggerY;
  ChangeZ(2);
}

void Tcr_prSprite2::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  Collide();
}

void Tcr_prSprite2::HandleCollision(TSprite& other, bool& /*done*/) {
  if (dynamic_cast<TWallSprite*>(&other) != nullptr) CanCollide = false;
}

}  // namespace bd
