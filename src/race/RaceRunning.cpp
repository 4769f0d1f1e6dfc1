#include "race/RaceRunning.h"

namespace bd {

void StopRace(TRaceState& s) { s.RaceRunning = false; }

void RunRace(TRaceState& s) { s.RaceRunning = true; }

void RunRaceUnless(TRaceState& s, bool held) { s.RaceRunning = !held; }

void TogglePause(TRaceState& s) {
  s.Paused = !s.Paused;
  // Flipped, not derived from Paused: both flags turn over together.
  s.RaceRunning = !s.RaceRunning;
}

}  // namespace bd
