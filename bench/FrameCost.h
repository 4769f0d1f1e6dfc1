#pragma once
// The yardstick of every frame benchmark: the processor time of copying one
// 800 x 600 frame of 32-bit pixels with memcpy, measured in the same run just
// before the frames, so that each frame benchmark prints its cost as a
// multiple of that copy ("x memcpy").
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace bd::bench {

constexpr size_t kFramePixels = 800 * 600;

// One frame of `pixels` copied; kept out of line so that an instruction
// profiler can single it out.
[[gnu::noinline]] inline void CopyFrame(uint32_t* to, const uint32_t* from, size_t pixels = kFramePixels) {
  std::memcpy(to, from, pixels * sizeof(uint32_t));
  benchmark::DoNotOptimize(to);
  benchmark::ClobberMemory();
}

inline double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Processor seconds of one frame copy (of `pixels`, by default the 800 x 600
// picture): the median of 31 rounds of 8 copies, timed on the thread's
// processor clock as the benchmarks' own times are.
inline double FrameCopySeconds(size_t pixels = kFramePixels) {
  std::vector<uint32_t> from(pixels, 0x00336699), to(pixels);
  for (int i = 0; i < 4; ++i) CopyFrame(to.data(), from.data(), pixels);  // both buffers in the caches
  std::vector<double> rounds;
  for (int r = 0; r < 31; ++r) {
    const double start = ThreadCpuSeconds();
    for (int i = 0; i < 8; ++i) CopyFrame(to.data(), from.data(), pixels);
    rounds.push_back((ThreadCpuSeconds() - start) / 8);
  }
  std::nth_element(rounds.begin(), rounds.begin() + 15, rounds.end());
  return rounds[15];
}

// Measures the yardstick when made; Start just before the benchmark's loop
// and Report after it add the counter "x memcpy": the processor time of one
// iteration divided by that of one frame copy.
class TFrameCost {
 public:
  // The yardstick is a frame of `pixels`: a step that makes a larger frame
  // (presenting a scaled picture) is compared with copying that frame.
  explicit TFrameCost(size_t pixels = kFramePixels) : copySeconds_(FrameCopySeconds(pixels)) {}
  void Start() { start_ = ThreadCpuSeconds(); }
  void Report(benchmark::State& state) const {
    const double perIteration = (ThreadCpuSeconds() - start_) / static_cast<double>(state.iterations());
    state.counters["x memcpy"] = perIteration / copySeconds_;
  }

 private:
  double copySeconds_;
  double start_ = 0;
};

}  // namespace bd::bench
