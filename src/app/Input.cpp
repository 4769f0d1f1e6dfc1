// Keys from the window: the table of held keys that the race reads, the
// key commands of each screen, and typing into the country and name fields.
#include "app/MainForm.h"
#include "frontend/BriefPause.h"
#include "frontend/HighScores.h"
#include "frontend/KeyFocus.h"
#include "frontend/NameWheel.h"
#include "race/CarSprites.h"
#include "race/RaceRunning.h"

namespace bd {
namespace {

constexpr int kPauseKey = 'P';

// The characters a country or a name may hold: digits, Latin letters and
// the Cyrillic letters of Windows-1251, which keeps Ё and ё apart from the
// rest at 168 and 184. No space or other sign: a Space typed into a name
// is dropped, and nothing else on the screen answers it.
bool IsFieldCharacter(uint8_t c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == 168 || c == 184 ||
         c >= 192;
}

// How far an arrow key moves the keys' focus: Up and Left back, Down and
// Right on; 0 for other keys.
int FocusStep(int key) {
  if (key == vk::Up || key == vk::Left) return -1;
  if (key == vk::Down || key == vk::Right) return 1;
  return 0;
}

}  // namespace

void TMainForm::FormKeyDown(int key, uint8_t shift) {
  KeyDown[static_cast<uint8_t>(key)] = 1;
  const bool alt = (shift & ssAlt) != 0;
  const bool enter = key == vk::Return;
  const bool escape = key == vk::Escape;

  // The rows of a screen are tried one after the other against the screen
  // the key arrived on; one key can match several of them.
  switch (CurrentScreen) {
    case screen::Splash:
      if (enter && !alt) SwitchScreen(screen::MainMenu);
      break;
    case screen::MainMenu:
      if (FocusStep(key) != 0) MoveKeyFocus(*this, FocusStep(key));
      if (escape) GameMainExitClick();
      // Enter acts on the item the arrows focused; without one it starts the
      // race, even with the exit confirmation open.
      if (enter && !alt && !ActivateKeyFocus(*this)) SwitchScreen(screen::Race);
      break;
    case screen::Race:
      RaceKeyDown(key, shift);
      break;
    case screen::Help:
      if (FocusStep(key) != 0) MoveKeyFocus(*this, FocusStep(key));
      if (enter && !alt) ActivateKeyFocus(*this);
      if (escape) SwitchScreen(screen::MainMenu);
      break;
    case screen::Options:
      // Left and Right take a focused row's choices; elsewhere they move on.
      if ((key == vk::Left || key == vk::Right) && ChooseWithKeys(*this, FocusStep(key))) {
      } else if (FocusStep(key) != 0) {
        MoveKeyFocus(*this, FocusStep(key));
      }
      if (enter && !alt) ActivateKeyFocus(*this);
      if (escape) SwitchScreen(screen::MainMenu);
      if (key == vk::Back && GamegoEdit.Checked && !Edit1.Text.empty()) Edit1.Text.pop_back();
      break;
    case screen::HighScores:
      if (FocusStep(key) != 0) MoveKeyFocus(*this, FocusStep(key));
      if (enter && !alt) ActivateKeyFocus(*this);
      if (escape) {
        if (GameClearHighScore.Checked) {
          // Rebuild the table screen and close the confirmation, but stay.
          SwitchScreen(screen::HighScores);
          GameClearHighScoreClick();
        } else {
          SwitchScreen(screen::MainMenu);
        }
      }
      break;
    case screen::GameOver: {
      const bool beatsTable = BeatsHighScores(HighScores, RaceState.Score);
      if ((escape || enter) && !beatsTable && !Timer1.Enabled()) {
        BriefPause();
        SwitchScreen(screen::MainMenu);
      }
      if (key == vk::Back && GamegoEdit.Checked && !Edit2.Text.empty()) Edit2.Text.pop_back();
      if (FocusStep(key) != 0) MoveKeyFocus(*this, FocusStep(key));
      // Enter ticks the send box when the keys' focus is on it. Space never
      // does: the name takes the typing, and a key typed as part of a name
      // must not publish the score (a pad's X ticks it, see PadKeyDown).
      TFocusItem focused;
      const bool onSendBox = FocusedItem(*this, focused) && focused.kind == TFocusItem::Kind::SendBox;
      if (GameEnterName.Checked && enter && !alt && onSendBox) {
        GameSendResultClick();
        PlaySound(snd::ButtonDown);
      } else if (enter && !alt && !PlayerName.empty() && beatsTable) {
        // Not bound to the first five seconds: a remembered name enters the
        // score at once.
        EnterHighScore();
      }
      break;
    }
    case screen::Exit:
      if (FocusStep(key) != 0) MoveKeyFocus(*this, FocusStep(key));
      if (enter && !alt) ActivateKeyFocus(*this);
      // Escape leaves as the exit button does, once its countdown allows.
      if (escape) Close();
      break;
    default:
      break;
  }
  if (alt && enter) GameFullScreenClick();
}

void TMainForm::RaceKeyDown(int key, uint8_t shift) {
  TRaceState& s = RaceState;
  if (GameMainExit.Checked) {
    // The question is answered from the keys as with the pointer: the arrows
    // choose, Enter answers the chosen one, Escape says "Нет".
    if (FocusStep(key) != 0) {
      MoveKeyFocus(*this, FocusStep(key));
    } else if (key == vk::Return) {
      // This press answers; still held when the race goes on, it must not
      // also spend a stop charge.
      s.StopKeyHeld = true;
      ActivateKeyFocus(*this);
    } else if (key == vk::Escape)
      GameMainExitClick();
    return;
  }
  const bool timersOff = !Timer_Level.Enabled() && !Timer_LevCompl.Enabled();
  // No pause once the level is driven: the level-complete clock that would
  // then hold would also keep P from undoing it.
  if (key == kPauseKey && timersOff && s.LevelEndState == 0) {
    TogglePause(s);
  }
  // Any key fires while Ctrl is held, the Ctrl key's own repeats included;
  // FireShot checks that the race runs, a gun is there and no shot flies.
  if ((shift & ssCtrl) != 0 || key == vk::Control) FireShot(RaceHost());
  // Escape asks whether to leave, over a paused race too; "Нет" leaves
  // the pause standing.
  if (key == vk::Escape && timersOff) {
    StopRace(s);
    GameMainExitClick();
  }
}

bool TMainForm::PadKeyDown(int key, uint8_t shift) {
  // B fires in a race; elsewhere, and over the race's exit question, it
  // goes back or says "Нет" as Escape does.
  if (key == vk::Control && (CurrentScreen != screen::Race || GameMainExit.Checked)) {
    FormKeyDown(vk::Escape, static_cast<uint8_t>(shift & ~ssCtrl));
    return true;
  }
  if (CurrentScreen == screen::GameOver && GameEnterName.Checked) {
    // A pad has no letters: on the name entry its d-pad turns them.
    if (TurnNameWheel(Edit2.Text, key)) {
      GamegoEdit.Checked = true;
      KeyFocus = -1;
      return true;
    }
    // X, which cannot be part of a name, ticks the send box.
    if (key == vk::Space) {
      GameSendResultClick();
      PlaySound(snd::ButtonDown);
      return true;
    }
  }
  return false;
}

void TMainForm::FormKeyUp(int key, uint8_t /*shift*/) { KeyDown[static_cast<uint8_t>(key)] = 0; }

void TMainForm::DXDrawKeyPress(uint8_t key) {
  // For Enter and Space the character's code is the key's code.
  KeyDown[key] = 1;
}

void TMainForm::FormKeyPress(uint8_t key) {
  if (!GamegoEdit.Checked || !IsFieldCharacter(key)) return;
  switch (CurrentScreen) {
    case screen::Options:
      // One character every third frame at most, ten in all, and none once
      // the text fills the field.
      if (TypingDelay == 0 && Edit1.Text.size() <= 9 && CaretTextWidth + 15 <= 180) {
        TypingDelay = 3;
        Edit1.Text += static_cast<char>(key);
      }
      break;
    case screen::GameOver:
      if (Edit2.Text.size() < 10) Edit2.Text += static_cast<char>(key);
      break;
    default:
      break;
  }
}

}  // namespace bd
