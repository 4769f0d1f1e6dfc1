#include "race/RaceFrame.h"

#include "engine/sprites/SpriteTree.h"
#include "race/EngineSound.h"
#include "race/LevelEnd.h"
#include "race/RaceFlow.h"
#include "race/RaceHud.h"
#include "race/RandomSpawns.h"

namespace bd {

void RunRaceFrame(IRaceHost& host) {
  TRaceState& s = host.RaceState();
  if (s.GameOver) {
    // The race screen is gone with this switch: the frame shows the new
    // screen's picture, without the race's texts over it.
    host.ShowGameOver();
    host.DrawSprites();
    return;
  }
  // While the level is driven the sprites are drawn again below, and nothing
  // is drawn in between. Every copy replaces the pixels it covers, so the
  // later drawing alone leaves the same picture: the earlier one is skipped.
  const bool drawnAgain = s.Distance < s.LevelLength && !host.LevelCompleteTimerEnabled();
  if (!drawnAgain) host.DrawSprites();
  if (host.LevelCompleteTimerEnabled()) host.DrawHudText(LevelCompleteCaption());

  if (s.Distance >= s.LevelLength) {
    LevelDrivenFrame(host);
    return;
  }

  PlayEngineLayers(host);
  // Standing still while the player holds the race does not count towards
  // reverse gear, nor does the handbrake bite.
  if (!s.Paused && !host.ExitQuestionOpen()) PaceStopAndHandbrake(s);
  host.DrawSprites();
  host.Engine().RemoveDead();

  SpawnPickupAtRandom(host);
  CoverDistance(s);
  SpawnMeteorTrailAtRandom(host);
  if (s.NitroOn) s.Speed = NitroSpeed;
  for (const THudText& text : RaceHudTexts(s, host.LevelTimerEnabled(), host.ExitQuestionOpen()))
    host.DrawHudText(text);
}

void DrawRaceStill(IRaceHost& host) {
  const TRaceState& s = host.RaceState();
  host.DrawSprites();
  if (s.GameOver) return;
  if (host.LevelCompleteTimerEnabled()) host.DrawHudText(LevelCompleteCaption());
  if (s.Distance >= s.LevelLength) return;
  for (const THudText& text : RaceHudTexts(s, host.LevelTimerEnabled(), host.ExitQuestionOpen()))
    host.DrawHudText(text);
}

}  // namespace bd
