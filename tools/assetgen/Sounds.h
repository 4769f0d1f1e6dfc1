#pragma once
// The game's sound effects, synthesised, with the looping flag and copy
// limit each one is stored with.

#include <cstdint>
#include <string>
#include <vector>

#include "Synth.h"

namespace bd::synth {

struct SoundItem {
  std::string name;
  bool looped = false;
  int maxPlayingCount = 0;
  std::vector<uint8_t> wave;  // a complete RIFF WAVE file
};

std::vector<SoundItem> MakeSounds();

// One engine layer as the sound list holds it: its recording and copy limit.
struct EngineLayer {
  Buffer wave;
  int maxPlayingCount = 0;
};

// What the race does with the engine layers ("back1", "forward1",
// "forward2"), and with other sounds it starts in every frame while a key is
// held (an empty layer is never started): every frame (every `frameMs`) it starts each layer whose speed
// range holds again, with the copy policy of the sound list (a finished copy,
// else a new one up to the limit, else the copy restarted longest ago, cut
// off). speedAt(seconds) gives the car's speed. Returns the mix at `rate`.
Buffer RenderEngineRun(const EngineLayer (&layers)[3], double seconds, double frameMs,
                       double (*speedAt)(double), int rate);

}  // namespace bd::synth
