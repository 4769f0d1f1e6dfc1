#pragma once
// The common ground of the race's image sprites: each is a direct child of
// the host's engine, keeps the host for its whole life and reads and writes
// the shared race state through it.

#include <cstdint>

#include "engine/sprites/ImageSprite.h"
#include "race/RaceHost.h"

namespace bd {

// Whether `sprite` is one of the race's own sprites on the road: not an icon
// of the head-up display, nor a picture the front end lays over the road
// (the exit question's). What happens on the road leaves those alone; a
// replay, which has no front end, must find the road the same.
bool OnTheRoad(const TSprite& sprite);

class TRaceSprite : public TImageSprite {
 public:
  explicit TRaceSprite(IRaceHost& host);

  IRaceHost& Host() const { return host_; }

 protected:
  TRaceState& State() const { return host_.RaceState(); }

  // Shows the named image at its own size.
  void UseImage(TPictureName name);
  // Animations: every pattern of the image in turn, wrapping around or
  // stopping on the last one.
  void LoopAnimation(double speed);
  void PlayOnce(double speed);
  // One of the four lane positions, chosen at random, plus `offset`.
  double RandomLane(int32_t offset) const;
  // Moves down with the road while the race runs.
  void ScrollWithRoad();

 private:
  IRaceHost& host_;
};

}  // namespace bd
