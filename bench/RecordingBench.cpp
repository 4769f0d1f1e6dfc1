// The recording file: writing and reading back a 10-minute game of the
// sample player, and the file's size per minute of play over twenty such
// games (median and worst), reported as counters beside the times.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <variant>
#include <vector>

#include "codec/RecordingFormat.h"
#include "common/SampleRecording.h"

namespace bd {
namespace {

constexpr uint32_t kMinutes = 10;

TRecording TenMinutes() { return MakeSampleRecording(1, kMinutes * kSampleFramesPerMinute); }

// File bytes per minute of play for games of the sample player with seeds
// 1 to 20: the median and the largest.
void SizeCounters(benchmark::State& state) {
  std::vector<double> perMinute;
  for (uint32_t seed = 1; seed <= 20; ++seed)
    perMinute.push_back(
        static_cast<double>(
            EncodeRecording(MakeSampleRecording(seed, kMinutes * kSampleFramesPerMinute)).size()) /
        kMinutes);
  std::sort(perMinute.begin(), perMinute.end());
  state.counters["bytes_per_min_median"] = perMinute[perMinute.size() / 2];
  state.counters["bytes_per_min_worst"] = perMinute.back();
}

void BM_EncodeRecording10Min(benchmark::State& state) {
  const TRecording recording = TenMinutes();
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string file = EncodeRecording(recording);
    bytes = file.size();
    benchmark::DoNotOptimize(file.data());
  }
  state.counters["events"] = static_cast<double>(recording.Events.size());
  state.counters["file_bytes"] = static_cast<double>(bytes);
  SizeCounters(state);
}
BENCHMARK(BM_EncodeRecording10Min)->Unit(benchmark::kMicrosecond);

void BM_DecodeRecording10Min(benchmark::State& state) {
  const std::string file = EncodeRecording(TenMinutes());
  for (auto _ : state) {
    auto decoded = DecodeRecording(file);
    if (!std::holds_alternative<TRecording>(decoded)) state.SkipWithError("the recording was refused");
    benchmark::DoNotOptimize(decoded);
  }
  state.counters["file_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_DecodeRecording10Min)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace bd
