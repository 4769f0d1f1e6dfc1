// The cost of starting sounds: converting a recording to the device format
// (once per restore), and a PlayWave through the real mixer, both when a
// finished copy is reused and when the oldest copy is cut off at the limit.
// Runs on SDL's dummy audio driver, which consumes samples without a device.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "common/ArchiveWriter.h"
#include "engine/sound/DXSounds.h"
#include "engine/platform/sdl/SdlAudio.h"

namespace bd {
namespace {

// One second of a 440 Hz square wave, 16-bit mono at 22050 Hz.
std::vector<uint8_t> OneSecondWave() {
  std::vector<uint8_t> samples;
  for (int i = 0; i < 22050; ++i) {
    const int16_t v = (i / 25) % 2 == 0 ? 8000 : -8000;
    samples.push_back(static_cast<uint8_t>(v & 0xFF));
    samples.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  return EncodeWave(1, 22050, 16, samples);
}

struct TDummyMixer {
  TDummyMixer() {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    list.SetDXSound(&sound);
    sound.Loaded();
  }
  TSdlAudio audio;
  TDXSound sound{&audio};
  TDXWaveList list;
};

void BM_ConvertRecording(benchmark::State& state) {
  TDummyMixer mixer;
  TWave wave;
  wave.LoadFromBytes(OneSecondWave());
  for (auto _ : state) {
    auto voice = mixer.audio.CreateBuffer(wave.Format(), wave.Data(), wave.Size());
    benchmark::DoNotOptimize(voice.get());
  }
}
BENCHMARK(BM_ConvertRecording)->Unit(benchmark::kMicrosecond);

// `limit` copies at most; with limit 1 every play cuts the one copy off and
// restarts it, with no limit the finished copies are reused.
void BM_PlayWave(benchmark::State& state) {
  TDummyMixer mixer;
  TWaveCollectionItem& item = mixer.list.Items().Add();
  item.Wave().LoadFromBytes(OneSecondWave());
  item.Restore();
  item.SetMaxPlayingCount(static_cast<int32_t>(state.range(0)));
  for (auto _ : state) {
    item.PlayWave();
    if (state.range(0) == 0) item.StopWave();  // every copy free again: the reuse path
  }
  state.counters["copies"] = static_cast<double>(item.CopyCount());
}
BENCHMARK(BM_PlayWave)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace bd
