// The race as the form runs it: a new game, the levels and lives, the race's
// part of every frame with its random spawning and head-up display, and the
// three race timers. The arithmetic lives in race/RaceFlow, the sprites in
// race/.
#include "app/MainForm.h"
#include "engine/display/Canvas.h"
#include "race/MeteorSprites.h"
#include "race/RaceFlow.h"
#include "race/RaceHud.h"
#include "race/RoadBuilder.h"

namespace bd {

namespace {

// Below this a head-up text shrunk to fit would no longer read.
constexpr int kSmallestHudSize = 8;

}  // namespace

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
  RaceState = TRaceState{};  // the new-game values
  NextLevel();
}

void TMainForm::NextLevel() {
  if (AdvanceLevel(RaceState, [this] { ByeByeMyCar(); })) PlaySound("viva");
  // The level caption stands for two seconds before the race runs.
  Timer_Level.SetEnabled(true);
}

void TMainForm::ByeByeMyCar() {
  Timer_LevCompl.SetEnabled(false);
  Timer_Nitro.SetEnabled(false);
  // The last life: the road stays as it is and the next race frame leaves.
  if (!LoseLife(RaceState)) return;
  // The old road is only killed: a sprite step may be calling us.
  KillAllSprites(SpriteEngine.Engine());
  BuildRoadForLife(raceHost_);
  StartLife(RaceState);
}

void TMainForm::RaceFrame() {
  TRaceState& s = RaceState;
  if (s.GameOver) {
    // The race screen is gone with this switch: the frame shows the new
    // screen's picture, without the race's texts over it.
    SwitchScreen(screen::GameOver);
    SpriteEngine.DrawAll();
    return;
  }
  // While the level is driven the sprites are drawn again below, and nothing
  // is drawn in between. Every copy replaces the pixels it covers, so the
  // later drawing alone leaves the same picture: the earlier one is skipped.
  const bool drawnAgain = s.Distance < s.LevelLength && !Timer_LevCompl.Enabled();
  if (!drawnAgain) SpriteEngine.DrawAll();
  if (Timer_LevCompl.Enabled()) DrawHudText(LevelCompleteCaption());

  if (s.Distance >= s.LevelLength) {
    // The level is driven: stop, applaud once, and start the level-complete
    // clock once the destination sign has grown.
    s.RaceRunning = false;
    if (s.LevelEndState == 0) {
      PlaySound("applaus");
      s.LevelEndState = 1;
    }
    if (s.LevelEndState == 2) {
      s.LevelEndState = 3;
      Timer_LevCompl.SetEnabled(true);
    }
    return;
  }

  // The engine's layers are started again every frame for their speed range.
  if (s.Speed > 0) PlaySound("back1");
  if (s.Speed > 3) PlaySound("forward1");
  if (s.Speed > 8) PlaySound("forward2");
  if (s.Speed < 0) PlaySound("back1");
  // Standing still while the player holds the race does not count towards
  // reverse gear, nor does the handbrake bite.
  if (!s.Paused && !GameMainExit.Checked) PaceStopAndHandbrake(s);
  SpriteEngine.DrawAll();
  SpriteEngine.RemoveDead();

  Randomize();
  if (Random.Next(170) == 5 && s.RaceRunning && s.Speed != 0)
    SpawnPickup(raceHost_, SpawnKindFor(Random.Next(101)));
  if (s.RaceRunning) s.Distance += s.Speed;
  const int32_t remaining = RemainingDistance(s);
  if (MeteorTrailsAppear(s.Level) && Random.Next(270) == 4 && s.Speed != 0 && !s.Paused &&
      !GameMainExit.Checked && remaining > 1000) {
    const int32_t c = Random.Next(601) + 100;
    new TSledMeteoritaSprite(raceHost_, c, -100);
  }
  if (s.NitroOn) s.Speed = NitroSpeed;
  for (const THudText& text : RaceHudTexts(s, Timer_Level.Enabled(), GameMainExit.Checked)) DrawHudText(text);
}

void TMainForm::DrawHudText(const THudText& text) {
  // Repeated strings come from the font library's cache of rendered texts,
  // so an unchanged display costs no rasterising.
  TCanvas& canvas = DXDraw.SurfaceCanvas();
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Name = TextFont;
  canvas.Font.Size = text.Size;
  canvas.Font.Color = text.Color;
  canvas.Font.Style = 0;
  int y = text.Y;
  if (text.MaxWidth > 0 && canvas.TextWidth(text.Text) > text.MaxWidth) {
    const int fullHeight = canvas.TextHeight(text.Text);
    while (canvas.Font.Size > kSmallestHudSize && canvas.TextWidth(text.Text) > text.MaxWidth)
      --canvas.Font.Size;
    y += (fullHeight - canvas.TextHeight(text.Text)) / 2;
  }
  int x = text.X;
  if (text.Centred) x -= static_cast<int>(Round(canvas.TextWidth(text.Text) / 2.0));
  canvas.TextOut(x, y, text.Text);
  DXDraw.ReleaseCanvas();
}

void TMainForm::HoldRaceClocks() {
  const bool held = CurrentScreen == screen::Race &&
                    (RaceState.Paused || GameMainExit.Checked || !Application.Active());
  for (TTimer* clock : {&Timer_Level, &Timer_Nitro, &Timer_LevCompl}) clock->SetHeld(held);
}

void TMainForm::Timer_LevelTimer() {
  // An exit confirmation opened during the caption keeps the race stopped;
  // its No answer sets it going.
  RaceState.RaceRunning = !GameMainExit.Checked;
  RaceState.SpeedTick = 0;
  Timer_Level.SetEnabled(false);
}

void TMainForm::Timer_NitroTimer() {
  if (NitroSecondTick(RaceState)) Timer_Nitro.SetEnabled(false);
}

void TMainForm::Timer_LevComplTimer() {
  if (!LevelCompleteTick(RaceState)) return;
  Timer_LevCompl.SetEnabled(false);
  NextLevel();
}

}  // namespace bd
