// The present step alone on the processor path: the 800 x 600 picture
// scaled into a window or screen buffer at 1x, 2x, 3x (the 4K window and
// full screen) and into the 1440 x 1080 place of a full-HD screen, each printed as a multiple of
// copying one output frame of the same size with memcpy ("x memcpy").
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "FrameCost.h"
#include "engine/platform/Presentation.h"

namespace bd {
namespace {

void BM_PresentScale(benchmark::State& state) {
  const TSize picture{800, 600};
  const TSize output{static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
  const size_t outputPixels = static_cast<size_t>(output.Width) * static_cast<size_t>(output.Height);
  // A picture with detail in every pixel, so that no row repeats by chance.
  std::vector<uint32_t> from(static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height));
  for (size_t i = 0; i < from.size(); ++i) from[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFFu;
  std::vector<uint32_t> to(outputPixels);
  TPictureScaler scaler;
  bench::TFrameCost cost(outputPixels);
  cost.Start();
  for (auto _ : state) {
    scaler.Scale(from.data(), static_cast<size_t>(picture.Width), picture, to.data(),
                 static_cast<size_t>(output.Width), output);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  cost.Report(state);
}
BENCHMARK(BM_PresentScale)
    ->ArgNames({"w", "h"})
    ->Args({800, 600})
    ->Args({1600, 1200})
    ->Args({2400, 1800})
    ->Args({1440, 1080})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace bd
