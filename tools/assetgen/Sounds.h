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

// What a sound is for decides how loud it is made. Every sound of a kind is
// brought to the kind's loudness (the RMS of its loudest 50 ms, which is how
// loud it is heard) with its peaks held under the kind's ceiling, so sounds
// are level with each other and the mixer's headroom holds
// (src/engine/platform/MixLevels.h).
enum class SoundKind {
  Interface,  // menu ticks and clicks, under the menu music
  Cue,        // tells the player something: pickups, crashes, level ends, pause
  Held,       // started again in every frame while a key is held; the copies pile up
  Engine,     // the engine's layers: levelled as a whole by their pile-up, not one by one
};
struct LevelTarget {
  double loudnessDb;  // dBFS, RMS of the loudest 50 ms
  double peakDb;      // dBFS, no sample above
};
LevelTarget TargetOf(SoundKind kind);
SoundKind KindOf(const std::string& name);
// The cues at which the car comes to a standstill (the stop charge, the
// explosion that ends a life, the level's end), so that the engine falls
// silent under them.
bool StopsTheEngine(const std::string& name);
// The level a sound is made to: its kind's, a little louder for the cues
// that stop the engine.
LevelTarget TargetFor(const std::string& name);
// The RMS of the loudest 50 ms (both channels when `right` is given), in dBFS.
double LoudnessDb(const Buffer& left, const Buffer* right = nullptr);
// The highest sample of the engine's pile-up at top speed, as a factor of
// full scale, that the engine layers are made for: the mixer's headroom
// keeps room for it.
inline constexpr double kEnginePeak = 0.3;

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
