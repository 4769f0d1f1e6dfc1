#pragma once
// The scrolling road and what stands on it apart from pickups and the chasm:
// obstacle cars, the pole, the tree, rocks and puddles. Each of them moves
// down with the road while the race runs; obstacles damage and slow the car
// when it runs into them.

#include <cstdint>

#include "engine/sprites/BackgroundSprite.h"
#include "race/RaceSprite.h"

namespace bd {

// The road texture, one tile repeated over the whole picture and scrolled by
// the car's speed.
class TScrollBackground : public TBackgroundSprite {
 public:
  explicit TScrollBackground(IRaceHost& host);

  void Step(int32_t moveCount) override;

 private:
  IRaceHost& host_;
};

// An obstacle car standing across a lane, coming in at the top of the road.
class TWallSprite : public TRaceSprite {
 public:
  explicit TWallSprite(IRaceHost& host);

  void Step(int32_t moveCount) override;
  void HandleCollision(TSprite& other, bool& done) override;
};

// One of the obstacle cars that open a life, placed by the road's builder.
// Unlike the others it also hurts during the level intro, throws the car
// further back, and shots pass through it.
class TFirstWallSprite : public TRaceSprite {
 public:
  TFirstWallSprite(IRaceHost& host, double y);

  void Step(int32_t moveCount) override;
  void HandleCollision(TSprite& other, bool& done) override;
};

// Roadside obstacles that hurt the car once, however long it touches them,
// and then scroll on.
class TStolb : public TRaceSprite {
 public:
  explicit TStolb(IRaceHost& host);

  void Step(int32_t moveCount) override;
  void HandleCollision(TSprite& other, bool& done) override;

  bool Hit = false;
};

class TTree : public TRaceSprite {
 public:
  explicit TTree(IRaceHost& host);

  void Step(int32_t moveCount) override;
  void HandleCollision(TSprite& other, bool& done) override;

  bool Hit = false;
};

// Rubble on one of the shoulders: scenery only.
class TRocksMassovka : public TRaceSprite {
 public:
  explicit TRocksMassovka(IRaceHost& host);

  void Step(int32_t moveCount) override;
};

// A puddle in a lane; the car splashes it (see TCarSprite).
class TLuja : public TRaceSprite {
 public:
  explicit TLuja(IRaceHost& host);

  void Step(int32_t moveCount) override;
};

// A splashed puddle, which makes the car skid across it.
class TLujaUje : public TRaceSprite {
 public:
  // Placed 10 pixels right of (x, y), over the fresh puddle it replaces.
  TLujaUje(IRaceHost& host, double x, double y);

  void Step(int32_t moveCount) override;
};

// The picture of an obstacle car for the current level: intact cars on the
// first level, mostly wrecks on the second and third, only wrecks after.
TPictureName ObstacleCarImage(IRaceHost& host);

}  // namespace bd
