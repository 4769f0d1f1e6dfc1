#pragma once
// Sprites that show the power-ups: the gun and the nitro flames dressing the
// car, the markers on the left edge beside which the race prints the charges
// or seconds left, and the destination sign in the top right corner, which
// grows when a level is completed.

#include <cstdint>

#include "race/RaceSprite.h"

namespace bd {

// The gun on the car's side; it unfolds once and follows the car.
class TGunsCar : public TRaceSprite {
 public:
  explicit TGunsCar(IRaceHost& host);

  void Step(int32_t moveCount) override;
};

// Exhaust flames under the car, flickering with the distance driven.
class TNitroCar : public TRaceSprite {
 public:
  explicit TNitroCar(IRaceHost& host);

  void Step(int32_t moveCount) override;
};

// A power-up marker at (15, 220 + 50 n), n being the number of the other two
// power-ups active when it is made, so markers stack downward. Its row is
// published in the race state for the counter beside it.
class TPowerUpMarker : public TRaceSprite {
 public:
  void Step(int32_t moveCount) override;

 protected:
  TPowerUpMarker(IRaceHost& host, TPictureName image, int32_t othersActive, int32_t& markerY);

  // True while the marker's power-up lasts.
  virtual bool Active() const = 0;
};

class TIndexGuns : public TPowerUpMarker {
 public:
  explicit TIndexGuns(IRaceHost& host);

 protected:
  bool Active() const override { return State().HasGuns; }
};

class TIndexStopMe : public TPowerUpMarker {
 public:
  explicit TIndexStopMe(IRaceHost& host);

 protected:
  bool Active() const override { return State().HasStopMe; }
};

class TIndexNitro : public TPowerUpMarker {
 public:
  explicit TIndexNitro(IRaceHost& host);

 protected:
  bool Active() const override { return State().NitroOn; }
};

// The destination sign. During the level-complete sequence it swells and
// glides toward the middle of the picture until it is 200 pixels wide.
class TIndexGorod : public TRaceSprite {
 public:
  explicit TIndexGorod(IRaceHost& host);

  void Step(int32_t moveCount) override;
};

}  // namespace bd
