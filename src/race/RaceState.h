#pragma once
// The record of the race: geometry, progress, the car's motion and
// condition, power-ups, chasm and meteorite tuning and the level-end
// sequence. The main form owns one for the whole run (its member RaceState);
// every race sprite and the race handlers read and write it directly, on the
// one thread of the game. Coordinates are screen pixels, speeds pixels per
// frame.
//
// A default-constructed record holds the values a new game starts with.
// Fields that a new game leaves to the sprites (the car's position, the
// chasm's head, the marker rows, the speed to restore after nitro) start at 0.

#include <cstdint>

namespace bd {

struct TRaceState {
  // Fixed geometry.
  int32_t ScreenWidth = 800;
  int32_t ScreenHeight = 600;
  int32_t RoadLeft = 100;       // left edge of the driving area
  int32_t LaneWidth = 150;      // four lanes
  int32_t CarBaseMargin = 100;  // the car's base line is ScreenHeight - CarBaseMargin - 101
  double FirstWallY1 = -120;    // where a life's opening obstacle cars stand
  double FirstWallY2 = -420;

  // Progress.
  int32_t Level = 0;  // the first level change makes it 1
  int32_t Score = 0;
  int32_t Lives = 3;     // the one being played included
  int32_t Health = 100;  // a crash that leaves it at 0 or less ends the life
  int32_t Distance = 0;  // Speed is added once per running frame
  int32_t LevelLength = 15000;
  bool GameOver = false;      // the last life is lost; the next race frame leaves the race
  uint8_t LevelEndState = 0;  // 0 racing, 1 marker growing, 2 marker grown, 3 clock running
  uint8_t LevelEndTick = 0;   // ticks of the level-complete clock, 0 .. 10

  // Motion and the car's condition.
  int32_t Speed = 0;  // negative while reversing
  int32_t MaxSpeed = 14;
  int32_t AccelDelay = 30;  // frames between speed steps
  int32_t SpeedTick = 0;
  int32_t StoppedFrames = 0;  // frames with Speed <= 0; reverse needs more than 120
  bool Handbrake = false;     // held this frame and not yet turned into a speed step
  int32_t HandbrakeTick = 0;
  bool Returning = false;    // the stopped car was pushed up and creeps back
  bool Grace = true;         // a fresh life: no damage, blinking, no reverse, chasm still
  int32_t BlinkTick = 0;     // also paces the chasm's creep once Grace is over
  bool Falling = false;      // the car has dropped into the chasm
  bool RaceRunning = false;  // the road scrolls and the sprites move; set through race/RaceRunning.h
  bool Paused = false;
  double CarX = 0;  // copied at the end of every car step
  double CarY = 0;
  int32_t CarZ = 0;

  // Power-ups.
  bool HasGuns = false;
  int32_t GunShots = 0;
  bool ShotInFlight = false;  // only one shot at a time
  bool HasStopMe = false;
  int32_t StopMeCount = 0;
  bool StopKeyHeld = false;  // Enter was already held at the last running car step
  bool NitroOn = false;  // speed forced to 15
  int32_t NitroSeconds = 0;
  int32_t SpeedBeforeNitro = 0;
  int32_t GunsMarkerY = 0;  // rows of the power-up markers; counters are printed beside them
  int32_t StopMeMarkerY = 0;
  int32_t NitroMarkerY = 0;

  // Chasm and meteorites.
  double ChasmY = 0;
  double ChasmPieceHeight = 150;
  bool ChasmPiece1 = false;
  bool ChasmPiece2 = false;
  bool ChasmPiece3 = false;
  int32_t ChasmCreepPeriod = 0;  // frames per one-pixel creep
  int32_t MeteorSpread = 300;    // meteorites land within this many pixels of the car's x
  int32_t MeteorOdds = 10;       // a swallowed object releases one with probability 1/(MeteorOdds + 1)

  // The car's base line.
  int32_t CarBaseY() const { return ScreenHeight - CarBaseMargin - 101; }

  bool operator==(const TRaceState&) const = default;
};

}  // namespace bd
