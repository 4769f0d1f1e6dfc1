#pragma once
// The collectable items the race spawns on the road: an extra life, a repair
// kit, a gun, an instant-stop kit, nitro and a score bonus. Driving over one
// consumes it.

#include <cstdint>

#include "race/RaceSprite.h"

namespace bd {

class TPickupSprite : public TRaceSprite {
 public:
  void Step(int32_t moveCount) override;
  void HandleCollision(TSprite& other, bool& done) override;

 protected:
  // In lane + `laneOffset` at `y`; `leavesAt1000` removes it once it has
  // scrolled to y 1000.
  TPickupSprite(IRaceHost& host, TPictureName image, int32_t laneOffset, double y, bool leavesAt1000);

  // The pickup's sound, effect and points, once the car has touched it.
  virtual void Collect() = 0;

 private:
  bool leavesAt1000_;
};

class TLiveSprite : public TPickupSprite {
 public:
  explicit TLiveSprite(IRaceHost& host);

 protected:
  void Collect() override;
};

class TMedicSprite : public TPickupSprite {
 public:
  explicit TMedicSprite(IRaceHost& host);

 protected:
  void Collect() override;
};

class TGunsSprite : public TPickupSprite {
 public:
  explicit TGunsSprite(IRaceHost& host);

 protected:
  void Collect() override;
};

class TStopMeSprite : public TPickupSprite {
 public:
  explicit TStopMeSprite(IRaceHost& host);

 protected:
  void Collect() override;
};

class TNitroSprite : public TPickupSprite {
 public:
  explicit TNitroSprite(IRaceHost& host);

 protected:
  void Collect() override;
};

class TBonusSprite : public TPickupSprite {
 public:
  explicit TBonusSprite(IRaceHost& host);

 protected:
  void Collect() override;
};

}  // namespace bd
