#pragma once
// The lava chasm that pursues the car from the bottom of the picture: a
// head that creeps up, is pushed back by a fast car and rises while the car
// reverses, and up to three pieces that fill the road below it. The head
// swallows what reaches it (replacing obstacles at the top of the road) and
// the car itself; the first piece ends the life of a car that fell in.

#include <cstdint>

#include "race/RaceSprite.h"

namespace bd {

class TPropast : public TRaceSprite {
 public:
  explicit TPropast(IRaceHost& host);

  void Step(int32_t moveCount) override;
  void HandleCollision(TSprite& other, bool& done) override;

 private:
  void Creep();
  void AddPieces();
  void Swallow(TSprite& other);
  void SwallowObstacle(TSprite& obstacle);
  void DropCar(TSprite& car);
};

// Piece k lies k piece heights below the head and disappears once it would
// reach past the bottom of the picture.
class TPropastPlus : public TRaceSprite {
 public:
  void Step(int32_t moveCount) override;

 protected:
  TPropastPlus(IRaceHost& host, int32_t k, double frameSpeed);

 private:
  bool& Flag() const;

  int32_t k_;
};

class TPropastPlus1 : public TPropastPlus {
 public:
  explicit TPropastPlus1(IRaceHost& host) : TPropastPlus(host, 1, 0.1) {}

  void HandleCollision(TSprite& other, bool& done) override;
};

class TPropastPlus2 : public TPropastPlus {
 public:
  explicit TPropastPlus2(IRaceHost& host) : TPropastPlus(host, 2, 0.05) {}
};

class TPropastPlus3 : public TPropastPlus {
 public:
  explicit TPropastPlus3(IRaceHost& host) : TPropastPlus(host, 3, 0.05) {}
};

}  // namespace bd
