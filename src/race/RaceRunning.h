#pragma once
// Whether the road moves: the only code that sets TRaceState::RaceRunning.
// While it is false the road stands, the sprites on it hold still, no
// distance is covered and nothing is spawned. Everything that stops or
// restarts the race goes through these operations, so the reasons it can
// stand still are all listed here.

#include "race/RaceState.h"

namespace bd {

// Stops the road: a level change or the end of a life, the level driven to
// its end, the car fallen into the chasm, the exit question opened.
void StopRace(TRaceState& s);

// Sets the road moving: a new life is under way.
void RunRace(TRaceState& s);

// Sets the road moving, or keeps it stopped while something still holds it
// (the exit question, the level caption, the pause).
void RunRaceUnless(TRaceState& s, bool held);

// The pause key: a running race stops and a paused one goes on.
void TogglePause(TRaceState& s);

}  // namespace bd
