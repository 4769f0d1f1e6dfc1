#pragma once
// What the race's three clocks do when they tick: the level caption's
// (once, after two seconds), the nitro's (every second) and the level
// complete one's (every quarter second).

#include "race/RaceHost.h"

namespace bd {

// The level caption has had its time: the race runs, unless the exit
// question opened during the caption keeps it stopped (its "No" answer sets
// it going). The clock stops.
void LevelIntroOver(IRaceHost& host);

// One second of nitro; the clock stops once the nitro has run out.
void NitroClockTick(IRaceHost& host);

// One tick of the level-complete clock; on the eleventh the clock stops and
// the next level begins.
void LevelCompleteClockTick(IRaceHost& host);

}  // namespace bd
