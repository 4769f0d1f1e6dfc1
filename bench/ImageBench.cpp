// The cost of drawing one named image onto an 800 x 600 back buffer: a keyed
// copy at its own size, a stretched copy from the per-size cache, and the
// first stretch to a new size that fills the cache.
#include <benchmark/benchmark.h>

#include "engine/images/PictureCollection.h"

namespace bd {
namespace {

// A 64 x 128 car-sized pattern with a keyed border around a coloured body.
std::unique_ptr<TPictureCollectionItem> CarImage() {
  constexpr uint32_t kKey = 0xFF00FF;
  std::vector<uint32_t> px(64 * 128, kKey);
  for (int y = 8; y < 120; ++y)
    for (int x = 8; x < 56; ++x) px[static_cast<size_t>(y) * 64 + x] = static_cast<uint32_t>(x * 3 + y * 512);
  return TPictureCollectionItem::FromPixels(64, 128, std::move(px), 0, 0, kKey);
}

void BM_DrawPatternKeyed(benchmark::State& state) {
  auto car = CarImage();
  TDirectDrawSurface back(800, 600);
  int x = 0;
  for (auto _ : state) {
    car->DrawPattern(back, x, 200, 0);
    x = (x + 37) % 736;
  }
  benchmark::DoNotOptimize(back.Pixel(10, 210));
}
BENCHMARK(BM_DrawPatternKeyed);

void BM_DrawPatternScaledCached(benchmark::State& state) {
  auto car = CarImage();
  TDirectDrawSurface back(800, 600);
  for (auto _ : state) car->DrawPatternScaled(back, Bounds(300, 200, 96, 150), 0);
  benchmark::DoNotOptimize(back.Pixel(310, 210));
}
BENCHMARK(BM_DrawPatternScaledCached);

void BM_DrawPatternScaledNewSize(benchmark::State& state) {
  auto car = CarImage();
  TDirectDrawSurface back(800, 600);
  int grow = 0;
  for (auto _ : state) {
    // A box that grows every frame, as a creeping chasm does: each size is new.
    car->DrawPatternScaled(back, Bounds(300, 200, 96 + grow, 150), 0);
    grow = (grow + 1) % 400;
  }
  benchmark::DoNotOptimize(back.Pixel(310, 210));
}
BENCHMARK(BM_DrawPatternScaledNewSize);

}  // namespace
}  // namespace bd
