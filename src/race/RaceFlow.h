#pragma once
// The parts of the race flow that are plain arithmetic on the race state:
// level changes, the end and start of a life, the two clocks, the random
// spawn table, the handbrake and the rules that depend on the level. The
// form's handlers call them and do the sprites, timers and sounds around them.

#include <cstdint>
#include <functional>

#include "race/RaceState.h"

namespace bd {

// The frame timer's interval, in milliseconds: a race frame with a lag
// count of 1 stands for this much time.
inline constexpr int RaceFrameMs = 15;
// Intervals of the race's clocks, in milliseconds.
inline constexpr int LevelIntroMs = 2000;    // the level caption before the race runs
inline constexpr int NitroClockMs = 1000;    // nitro seconds
inline constexpr int LevelCompleteMs = 250;  // the level-complete sequence
inline constexpr int NitroSpeed = 15;        // the speed nitro holds
inline constexpr int NitroDurationSeconds = 5;

// The length of the level after one of `length`: a quarter more, halves
// rounded to the even neighbour.
int32_t NextLevelLength(int32_t length);

// The length of level `level` (1 = 15000, then 18750, 23438, 29298, 36622 ...).
int32_t LevelLengthFor(int32_t level);

// Points for reaching level `level` (none for the first).
int32_t LevelBonus(int32_t level);

// The state part of starting the next level. `byeByeMyCar` runs the end of
// the current life in between, as the level change needs (it rebuilds the
// road for the new level; the extra life given here is the one it takes).
// Afterwards the race stands still for the level intro. Meteorites come
// closer and more often with each level, but their spread and odds never go
// below 1, so the draws that use them always get a positive range.
// Returns true when the level change is celebrated ("viva"), that is from
// level 2 on.
bool AdvanceLevel(TRaceState& s, const std::function<void()>& byeByeMyCar);

// The state part of ending a life: the car is repaired, loses its power-ups,
// nitro and speed, and a life is gone. Returns false, with GameOver set, when
// that was the last life; the road is then left as it is. Otherwise the
// caller rebuilds the road and calls StartLife. Distance, level, score and the
// level-end sequence carry over to the next life.
bool LoseLife(TRaceState& s);

// The new life is under way: Grace set, the race running and not paused.
void StartLife(TRaceState& s);

// One tick of the level-complete clock. Returns true on the eleventh tick,
// when the clock stops and the next level begins.
bool LevelCompleteTick(TRaceState& s);

// One second of nitro. Returns true when the nitro has run out; the speed
// from before the nitro is then restored.
bool NitroSecondTick(TRaceState& s);

// Frame bookkeeping of a level still being driven, before the sprites are
// drawn: counts frames at a standstill and lets a held handbrake take one
// speed step toward 0 every fifth frame.
void PaceStopAndHandbrake(TRaceState& s);

// The distance of one frame: the speed is added while the road runs.
void CoverDistance(TRaceState& s);

// Distance still to drive in this level, never below 0.
int32_t RemainingDistance(const TRaceState& s);

// What the random spawn creates for a draw r of Random(101).
enum class TSpawnKind { StopMe, Guns, Medic, Live, Rocks, Nitro, Bonus };
TSpawnKind SpawnKindFor(int32_t r);

// Level rules.
double ChasmStartY(int32_t level);       // 550 on the first level, 620 after it
bool MeteorTrailsAppear(int32_t level);  // trails on the road and meteorites from the chasm
int OpeningWallCount(int32_t level);     // obstacle cars that open a life: 2, or 3 from level 5

}  // namespace bd
