#pragma once
// Invisible bands outside the picture that tidy up the road: one below it
// that removes whatever scrolls past the chasm, and two above it that react
// once to an obstacle car moving up into them (when the car reverses).

#include <cstdint>

#include "race/RaceSprite.h"

namespace bd {

// Kills every sprite it touches; lies at y 800 .. 850.
class Tcr_prSprite : public TRaceSprite {
 public:
  explicit Tcr_prSprite(IRaceHost& host);

  void Step(int32_t moveCount) override;
  void HandleCollision(TSprite& other, bool& done) override;
};

// The first obstacle car to touch it adds one more obstacle car to the road;
// then it is inert.
class Tcr_prSprite1 : public TRaceSprite {
 public:
  explicit Tcr_prSprite1(IRaceHost& host);

  void Step(int32_t moveCount) override;
  void HandleCollision(TSprite& other, bool& done) override;
};

// Like Tcr_prSprite1, but it only turns itself off.
class Tcr_prSprite2 : public TRaceSprite {
 public:
  explicit Tcr_prSprite2(IRaceHost& host);

  void Step(int32_t moveCount) override;
  void HandleCollision(TSprite& other, bool& done) override;
};

}  // namespace bd
