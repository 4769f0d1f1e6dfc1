#pragma once
// The player's car and its shots. The car turns the held keys into lateral
// movement and into changes of the road's speed, keeps itself on the road,
// shows its damage and publishes its position for the sprites that follow
// or aim at it. It reacts itself only to puddles, meteorite trails and its
// own gun; obstacles and pickups handle their contact with the car.

#include <cstdint>

#include "race/RaceSprite.h"

namespace bd {

class TCarSprite : public TRaceSprite {
 public:
  explicit TCarSprite(IRaceHost& host);

  void Step(int32_t moveCount) override;
  void HandleCollision(TSprite& other, bool& done) override;

 private:
  void ChooseDamageClass();
  void Steer();
  void Accelerate();
  void Reverse();
  void PullHandbrake();
  void StopInstantly();
  void Coast();
  void KeepOnRoad();
  void LimitSpeed();
  void SkidOn(TSprite& puddle);
};

// A shot of the car's gun: flies up and destroys the first obstacle car it
// meets. Only one is on its way at a time.
class TBuletSprite : public TRaceSprite {
 public:
  explicit TBuletSprite(IRaceHost& host);

  void Step(int32_t moveCount) override;
  void HandleCollision(TSprite& other, bool& done) override;
};

// The fire command of the race screen (a key going down with Ctrl held):
// fires when the race runs, the car has a gun and no shot is on its way.
// The last shot takes the gun away. Returns true when a shot was fired.
bool FireShot(IRaceHost& host);

}  // namespace bd
