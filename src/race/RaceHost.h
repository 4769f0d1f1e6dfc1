#pragma once
// What the race needs from the rest of the game. The main form implements
// it; tests implement it with a small fake. Sprites hold a reference to the
// host for their whole life and reach the shared race state, the images, the
// sounds, the race's random generator, the held keys and the race's clocks
// through it; the race's frame and clocks also draw through it and learn
// from it whether the exit question is open.

#include <cstdint>

#include "assets/AssetNames.h"
#include "race/RaceState.h"

namespace bd {

class TPictureCollectionItem;
class TSpriteEngine;
struct THudText;

class IRaceHost {
 public:
  virtual ~IRaceHost() = default;

  // The record every race sprite reads and writes.
  virtual TRaceState& RaceState() = 0;
  // The engine every race sprite is created under (always as a direct child).
  virtual TSpriteEngine& Engine() = 0;

  // The named image of the loaded archive; raises "Image '%s' not found"
  // when there is none, which abandons the sprite being made.
  virtual TPictureCollectionItem& FindImage(TPictureName name) = 0;
  // Sound effects by name; both do nothing while sound is off.
  virtual void PlaySound(TSoundName name) = 0;
  virtual void StopSound(TSoundName name) = 0;

  // The race's random generator, seeded once when the game starts:
  // 0 .. n - 1 for n > 0, 0 for n = 0.
  virtual int32_t Random(int32_t n) = 0;

  // True while the race key with this virtual-key code is held in this frame.
  virtual bool KeyDown(int key) const = 0;

  // The race's clocks (race/RaceClocks.h): the level intro, the
  // level-complete clock and the nitro clock.
  virtual bool LevelTimerEnabled() const = 0;
  virtual bool LevelCompleteTimerEnabled() const = 0;
  virtual bool NitroTimerEnabled() const = 0;
  virtual void SetLevelTimerEnabled(bool enabled) = 0;
  virtual void SetLevelCompleteTimerEnabled(bool enabled) = 0;
  virtual void SetNitroTimerEnabled(bool enabled) = 0;

  // True while the question whether to leave the game stands over the race.
  virtual bool ExitQuestionOpen() const = 0;

  // Draws the sprites on the display (nothing while it is not up).
  virtual void DrawSprites() = 0;
  // Writes one text of the head-up display over the picture.
  virtual void DrawHudText(const THudText& text) = 0;
  // The race is over: leaves it for the game-over screen at once.
  virtual void ShowGameOver() = 0;
};

}  // namespace bd
