// The form's doors into the race: building the race screen, the race's part
// of every frame and the three race timers' handlers, and the form's own
// share of the race, holding its clocks while the player holds the race.
// The race's rules live in race/.
#include "app/MainForm.h"
#include "frontend/screens/Screen.h"
#include "race/LevelChange.h"
#include "race/LifeLost.h"
#include "race/RaceClocks.h"
#include "race/RaceFrame.h"
#include "race/RoadBuilder.h"

namespace bd {

void TMainForm::StartGame() {
  KillAllSprites(SpriteEngine.Engine());
  Window.SetPointer(PointerShape::Hidden);
  TypingDelay = 0;
  CaretBlink = 0;
  PlayMusic("2");
  try {
    LoadGraphics(GraphicsMainPath);
  } catch (EError& e) {
    // Without its pictures the race cannot run. Back to the main menu,
    // whose pictures come back with it, and the error is reported.
    e.SetMessage(std::string(e.what()) + "\nThe race cannot start without it.");
    SwitchScreen(screen::MainMenu);
    throw;
  }
  StartNewGame(raceHost_);
}

void TMainForm::NextLevel() { BeginNextLevel(raceHost_); }

void TMainForm::ByeByeMyCar() { EndLife(raceHost_); }

void TMainForm::RaceFrame() { RunRaceFrame(raceHost_); }

void TMainForm::HoldRaceClocks() {
  const bool held =
      Screen().RunsRace() && (RaceState.Paused || GameMainExit.Checked || !Application.Active());
  for (TTimer* clock : {&Timer_Level, &Timer_Nitro, &Timer_LevCompl}) clock->SetHeld(held);
}

void TMainForm::Timer_LevelTimer() { LevelIntroOver(raceHost_); }

void TMainForm::Timer_NitroTimer() { NitroClockTick(raceHost_); }

void TMainForm::Timer_LevComplTimer() { LevelCompleteClockTick(raceHost_); }

}  // namespace bd
