#pragma once
// The race's part of a frame on the race screen, after the sprites moved.

#include "race/RaceHost.h"

namespace bd {

// Leaves for the game-over screen once the last life is lost. Otherwise
// draws the road and the head-up display, and while the level is still
// being driven sounds the engine, paces the handbrake, spawns at random and
// covers the frame's distance; once it is driven, runs the level's end.
void RunRaceFrame(IRaceHost& host);

// Draws the race as it stands without moving or deciding anything: the
// sprites, the head-up display while the level is driven and the
// level-complete caption while its clock runs. For a watched game that is
// held or over, whose frames do not run.
void DrawRaceStill(IRaceHost& host);

}  // namespace bd
