#include "race/RaceInput.h"

#include "race/CarSprites.h"
#include "race/RaceRunning.h"

namespace bd {
namespace {

constexpr int kPauseKey = 'P';

}  // namespace

uint32_t RaceKeyBit(int key) {
  for (int i = 0; i < kRaceKeyCount; ++i)
    if (kRaceKeyCodes[i] == key) return 1u << i;
  return 0;
}

TRaceKeyOutcome ApplyRaceKey(IRaceHost& host, int key, uint8_t shift) {
  TRaceState& s = host.RaceState();
  if (host.ExitQuestionOpen()) {
    if (key != vk::Return) return TRaceKeyOutcome::Ignored;
    s.StopKeyHeld = true;
    return TRaceKeyOutcome::Applied;
  }
  bool applied = false;
  const bool clocksOff = !host.LevelTimerEnabled() && !host.LevelCompleteTimerEnabled();
  // No pause once the level is driven: the level-complete clock that would
  // then hold would also keep P from undoing it.
  if (key == kPauseKey && clocksOff && s.LevelEndState == 0) {
    TogglePause(s);
    applied = true;
  }
  // Any key fires while Ctrl is held, the Ctrl key's own repeats included;
  // FireShot checks that the race runs, a gun is there and no shot flies.
  if (((shift & ssCtrl) != 0 || key == vk::Control) && FireShot(host)) applied = true;
  // Escape asks whether to leave, over a paused race too; "Нет" leaves the
  // pause standing.
  if (key == vk::Escape && clocksOff) {
    StopRace(s);
    return TRaceKeyOutcome::AskToLeave;
  }
  return applied ? TRaceKeyOutcome::Applied : TRaceKeyOutcome::Ignored;
}

void ApplyExitQuestion(IRaceHost& host, TExitQuestionEvent event) {
  TRaceState& s = host.RaceState();
  switch (event) {
    case TExitQuestionEvent::Opened:
      StopRace(s);
      break;
    case TExitQuestionEvent::Closed:
      RunRaceUnless(s, host.LevelTimerEnabled() || s.Paused);
      break;
    case TExitQuestionEvent::AnsweredYes:
      break;
  }
}

}  // namespace bd
