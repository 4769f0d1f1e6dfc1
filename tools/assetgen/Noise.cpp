#include "Noise.h"

#include <cmath>

namespace bd::art {

double Noise::Lattice(int x, int y) const {
  auto wrap = [](int v, int p) { return ((v % p) + p) % p; };
  uint32_t h = static_cast<uint32_t>(wrap(x, px_)) * 374761393u +
               static_cast<uint32_t>(wrap(y, py_)) * 668265263u + seed_ * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return static_cast<double>(h & 0xFFFFFF) / 16777215.0;
}

double Noise::At(double x, double y) const {
  double fx = std::floor(x), fy = std::floor(y);
  int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  double tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  double a = Lattice(ix, iy), b = Lattice(ix + 1, iy);
  double c = Lattice(ix, iy + 1), d = Lattice(ix + 1, iy + 1);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double Noise::Fractal(double x, double y, int octaves) const {
  double sum = 0, amp = 1, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    Noise layer(seed_ + static_cast<uint32_t>(i) * 7919u, px_ << i, py_ << i);
    sum += layer.At(x * (1 << i), y * (1 << i)) * amp;
    norm += amp;
    amp *= 0.5;
  }
  return sum / norm;
}

}  // namespace bd::art
