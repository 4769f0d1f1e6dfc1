#pragma once
// A new game and the change to the next level, with the level caption that
// holds the race for its first two seconds.

#include "race/RaceHost.h"

namespace bd {

// The new-game values, then the first level.
void StartNewGame(IRaceHost& host);

// The next level: its state (see AdvanceLevel), a fresh road for it, the
// "viva" from level 2 on, and the level caption's clock started.
void BeginNextLevel(IRaceHost& host);

}  // namespace bd
