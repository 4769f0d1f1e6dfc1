#pragma once
// The race's three clocks and what they do when they tick: the level
// caption's (once, after two seconds), the nitro's (every second) and the
// level complete one's (every quarter second). They count race frames, so
// that a race is the same wherever and whenever it is played again.

#include "race/RaceClock.h"
#include "race/RaceFlow.h"
#include "race/RaceHost.h"

namespace bd {

struct TRaceClocks {
  TRaceClock Level{LevelIntroMs};
  TRaceClock Nitro{NitroClockMs};
  TRaceClock LevelComplete{LevelCompleteMs};

  bool operator==(const TRaceClocks&) const = default;
};

// The clocks' part of a race frame, before the sprites move: unless the
// race is held (paused, asked whether to leave, or without the focus) each
// running clock counts the frame's lag and runs its tick when due, in the
// order level caption, nitro, level complete.
void TickRaceClocks(IRaceHost& host, TRaceClocks& clocks, int lagCount, bool held);

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
