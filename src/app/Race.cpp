// The form's doors into the race: building the race screen with the game's
// seed, the race's frames with the keys held, and the finished game's
// recording. The race's rules, clocks and inputs live in race/.
#include "app/MainForm.h"
#include "frontend/screens/Screen.h"
#include "race/LevelChange.h"
#include "race/LifeLost.h"
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
  RaceSession.Begin(TakeRaceSeed());
  if (!Application.Active()) RaceSession.Focus(false);
  StartNewGame(raceHost_);
}

TRaceSeed TMainForm::TakeRaceSeed() {
  if (nextRaceSeed_) {
    TRaceSeed seed = std::move(*nextRaceSeed_);
    nextRaceSeed_.reset();
    return seed;
  }
  // The game's own seed. Only its start comes from the clock: the race
  // never seeds again, so its seed and inputs make it whole.
  return TRaceSeed{static_cast<uint32_t>(Application.Clock().HighResCounter()), TSeedSource::Own, {}};
}

void TMainForm::NextLevel() { BeginNextLevel(raceHost_); }

void TMainForm::ByeByeMyCar() { EndLife(raceHost_); }

void TMainForm::RaceFrame(int lagCount) {
  RaceSession.Frame(raceHost_, lagCount,
                    RaceKeysHeld([this](int key) { return KeyDown[static_cast<uint8_t>(key)] != 0; }));
}

const TRecording* TMainForm::LastRecording() const {
  return RaceSession.Over() ? &RaceSession.Recording() : nullptr;
}

void TMainForm::NameLastRecording(const std::string& name) {
  if (RaceSession.Over()) RaceSession.SetPlayerName(name);
}

}  // namespace bd
