#pragma once
// The real mixer output on SDL's dummy audio driver, opened once per fuzzing
// process: recordings go through the same conversion the game uses.

#include <cstdlib>

#include "engine/platform/sdl/SdlAudio.h"

namespace bd::fuzz {

inline TSdlAudio& Audio() {
  static TSdlAudio* audio = [] {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto* a = new TSdlAudio;  // lives as long as the process, like the game's
    if (!a->Open()) std::abort();
    return a;
  }();
  return *audio;
}

}  // namespace bd::fuzz
