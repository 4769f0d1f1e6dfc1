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

// What the race does with the engine layers: every frame (every `frameMs`)
// it starts each layer whose speed range holds again, with the copy policy
// of the sound list (a free copy, else a new one up to the item's limit,
// else the copy restarted longest ago). speedAt(seconds) gives the speed.
// Returns the mixed result as mono samples at `rate`.
Buffer RenderEngineRun(const std::vector<SoundItem>& sounds, double seconds, double frameMs,
                       double (*speedAt)(double), int rate);

// Decodes a RIFF WAVE file written by WaveFile into mono samples (channels averaged).
Buffer DecodeWave(const std::vector<uint8_t>& wave);

}  // namespace bd::synth
