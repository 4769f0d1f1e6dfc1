#include "frontend/overlays/ExitQuestion.h"

#include "engine/loop/Application.h"
#include "frontend/FrontEndHost.h"
#include "frontend/HighScores.h"
#include "frontend/KeyFocus.h"
#include "frontend/MenuSprites.h"
#include "frontend/screens/Screen.h"
#include "frontend/screens/ScreenNumbers.h"
#include "race/RaceHost.h"
#include "race/RaceRunning.h"

namespace bd {
namespace {

constexpr TItem kMenuAnswers[] = {
    YesAnswer([](IFrontEndHost& f) {
      ClickSound(f);
      f.Click(TFlag::MainExit);
      f.LeaveGame();
    }),
    NoAnswer([](IFrontEndHost& f) {
      ClickSound(f);
      f.Click(TFlag::MainExit);
      f.SwitchScreen(screen::MainMenu);
    }),
};

constexpr TItem kRaceAnswers[] = {
    YesAnswer([](IFrontEndHost& f) {
      ClickSound(f);
      f.RaceExitQuestion(TExitQuestionEvent::AnsweredYes);
      f.Click(TFlag::MainExit);
      const bool entersTable = BeatsHighScores(f.HighScores(), f.RaceHost().RaceState().Score);
      f.SwitchScreen(entersTable ? screen::GameOver : screen::MainMenu);
    }),
    NoAnswer([](IFrontEndHost& f) {
      ClickSound(f);
      f.Click(TFlag::MainExit);  // closing it sets the race going again
    }),
};

void ToggleScreenTimer(IFrontEndHost& host) { host.ScreenTimer().SetEnabled(!host.ScreenTimer().Enabled()); }

}  // namespace

bool TExitQuestion::IsOpen() const { return host_.Checked(TFlag::MainExit); }

bool TExitQuestion::MayOpen() const {
  IRaceHost& race = host_.RaceHost();
  if (race.LevelCompleteTimerEnabled() || race.RaceState().LevelEndState != 0) return false;
  return host_.Screen().OffersExitQuestion();
}

void TExitQuestion::Open() {
  host_.SetChecked(TFlag::MainExit, true);
  ToggleScreenTimer(host_);
  StopRace(host_.RaceHost().RaceState());
  if (OverRace()) host_.RaceExitQuestion(TExitQuestionEvent::Opened);
  host_.ShowPausedCaption(true);
  host_.SetPointer(PointerShape::Hand);
  host_.PlaySound(snd::Pause);
  AddPictures<TMainExit, TMainExit_Word>(pic::ExitQuestion, 901);
}

void TExitQuestion::Close() {
  host_.SetChecked(TFlag::MainExit, false);
  TRaceState& race = host_.RaceHost().RaceState();
  const bool inRace = OverRace();
  const bool paused = inRace && race.Paused;
  if (inRace) host_.RaceExitQuestion(TExitQuestionEvent::Closed);
  ToggleScreenTimer(host_);
  host_.ShowPausedCaption(paused);
  host_.PlaySound(snd::AfterPause);
  RemovePictures();
}

void TExitQuestion::Click() {
  if (!MayOpen()) return;
  // The items on screen change: the keys' focus starts afresh.
  host_.KeyFocus() = -1;
  if (IsOpen()) {
    Close();
    host_.SetPointer(PointerShape::Hidden);
  } else {
    Open();
  }
}

void TExitQuestion::CloseWithScreen() {
  if (IsOpen()) Close();
}

bool TExitQuestion::KeyDown(int key, uint8_t shift) {
  // The answers are chosen with the arrows and Enter answers the chosen one,
  // as on every screen with items.
  if (FocusStep(key) != 0) {
    MoveKeyFocus(host_, FocusStep(key));
    return true;
  }
  if (!OverRace()) {
    // Escape and the rest are the menu screen's: the main menu closes the
    // question, a sub-screen goes back to the main menu, and Enter with no
    // answer chosen starts a race from the main menu.
    return key == vk::Return && (shift & ssAlt) == 0 && ActivateKeyFocus(host_);
  }
  // Over the race it takes every key: Escape says "Нет", and nothing drives
  // or fires under it.
  if (key == vk::Return) {
    // This press answers; the race notes it as held, so that it does not
    // also spend a stop charge once the race goes on.
    host_.RaceKeyPress(key, shift);
    ActivateKeyFocus(host_);
  } else if (key == vk::Escape) {
    Click();
  }
  return true;
}

std::span<const TItem> TExitQuestion::Answers() const {
  return OverRace() ? std::span<const TItem>(kRaceAnswers) : std::span<const TItem>(kMenuAnswers);
}

bool TExitQuestion::RearmsHoverSound() const { return !OverRace(); }

bool TExitQuestion::AnyButtonAnswers() const { return OverRace(); }

bool TExitQuestion::OverRace() const { return host_.Screen().RunsRace(); }

}  // namespace bd
