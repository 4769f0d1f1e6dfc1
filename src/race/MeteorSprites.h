#pragma once
// Meteorites that shoot up the road out of the chasm, the scorched trails
// they leave, and the explosion every crash of the race shows.

#include <cstdint>

#include "race/RaceSprite.h"

namespace bd {

// Rises from near the bottom of the picture close to the car's x. From the
// third level on it explodes near the top, on obstacle cars and on the car.
class TMeteorit : public TRaceSprite {
 public:
  explicit TMeteorit(IRaceHost& host);

  void Step(int32_t moveCount) override;
  void HandleCollision(TSprite& other, bool& done) override;

 private:
  void Explode();
};

// A scorched trail for the point (x, y), lying at (x - 20, y + 10); the car
// slows to a crawl on it.
class TSledMeteoritaSprite : public TRaceSprite {
 public:
  TSledMeteoritaSprite(IRaceHost& host, double x, double y);

  void Step(int32_t moveCount) override;
};

// An explosion for the point (x, y), lying at (x + 10, y). It plays once,
// stays on its last picture and scrolls away with the road.
class TBoomSprite : public TRaceSprite {
 public:
  TBoomSprite(IRaceHost& host, double x, double y);

  void Step(int32_t moveCount) override;
};

}  // namespace bd
