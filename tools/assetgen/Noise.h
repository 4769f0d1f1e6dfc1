#pragma once
// Smooth value noise for textures that are computed per pixel (lava, concrete).

#include <cstdint>

namespace bd::art {

// Value noise over a lattice that wraps every `periodX` by `periodY` cells,
// so textures built from it tile seamlessly.
class Noise {
 public:
  Noise(uint32_t seed, int periodX, int periodY) : seed_(seed), px_(periodX), py_(periodY) {}
  // Noise in 0 .. 1 at (x, y) in lattice cells.
  double At(double x, double y) const;
  // Several octaves added, each twice as fine and half as strong.
  double Fractal(double x, double y, int octaves) const;

 private:
  double Lattice(int x, int y) const;
  uint32_t seed_;
  int px_, py_;
};

}  // namespace bd::art
