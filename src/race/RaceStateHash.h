#pragma once
// A fingerprint of the race at one moment: every field of the race state,
// the three clocks, and the place, look and liveliness of every race sprite
// on the road, in the engine's order. Two runs of the same recording must
// agree on it at the end of every level; a change to the rules that alters
// a race shows up here even where the score happens to come out the same.

#include <cstdint>

#include "race/RaceClocks.h"
#include "race/RaceState.h"

namespace bd {

class TSpriteEngine;

// 64-bit FNV-1a over the values, in a fixed order. Sprites that are not the
// race's own (the exit question's pictures over the road) are left out.
uint64_t RaceStateHash(const TRaceState& s, const TRaceClocks& clocks, const TSpriteEngine& engine);

}  // namespace bd
