// Button presses. The menus act on the position of the last pointer move, not
// on the position that comes with the press (the exit screen takes the
// press's own); every action plays the click sound.
#include "app/MainForm.h"
#include "frontend/BriefPause.h"
#include "frontend/HighScores.h"
#include "frontend/PointerRects.h"
#include "frontend/ScoreReport.h"

namespace bd {
namespace {

constexpr int kLeftButton = 1;

void Click(TMainForm& form) { form.PlaySound(snd::ButtonDown); }

// The exit confirmation's answers on the menu screens.
void ExitAnswers(TMainForm& form, int x, int y) {
  if (hit::Yes.Contains(x, y)) {
    Click(form);
    form.GameMainExitClick();
    form.LeaveGame();
  } else if (hit::No.Contains(x, y)) {
    Click(form);
    form.GameMainExitClick();
    form.SwitchScreen(screen::MainMenu);
  }
}

// The menu column; `visitWebSite` is where its Visit Web Site item answers.
void Column(TMainForm& form, int x, int y, const THitRect& visitWebSite) {
  struct TItem {
    THitRect rect;
    uint8_t screen;
  };
  static constexpr TItem kSwitches[] = {
      {hit::StartGame, screen::Race},
      {hit::Options, screen::Options},
      {hit::HighScore, screen::HighScores},
      {hit::Help, screen::Help},
  };
  for (const TItem& item : kSwitches) {
    if (item.rect.Contains(x, y)) {
      form.SwitchScreen(item.screen);
      Click(form);
      return;
    }
  }
  if (visitWebSite.Contains(x, y)) {
    form.ShellOpenFile("moregames.url");
    Click(form);
  } else if (hit::Exit.Contains(x, y)) {
    form.GameMainExitClick();
    Click(form);
  }
}

void MainMenuDown(TMainForm& form, int button, int x, int y) {
  // The badge answers every button here.
  if (hit::FggMenuClick.Contains(x, y)) {
    form.ShellOpenFile("moregames.url");
    Click(form);
  }
  if (button != kLeftButton) return;
  if (form.GameMainExit.Checked)
    ExitAnswers(form, x, y);
  else
    Column(form, x, y, hit::VisitWebSiteMenuClick);
}

void RaceDown(TMainForm& form, int x, int y) {
  if (!form.GameMainExit.Checked) return;
  if (hit::Yes.Contains(x, y)) {
    Click(form);
    form.GameMainExitClick();
    const bool entersTable = BeatsHighScores(form.HighScores, form.RaceState.Score);
    form.SwitchScreen(entersTable ? screen::GameOver : screen::MainMenu);
  } else if (hit::No.Contains(x, y)) {
    Click(form);
    form.GameMainExitClick();  // closing it sets the race going again
  }
}

void HelpDown(TMainForm& form, int x, int y) {
  if (hit::PanelBack.Contains(x, y)) {
    form.SwitchScreen(screen::MainMenu);
    Click(form);
  } else if (hit::PanelLeft.Contains(x, y)) {
    if (form.HelpPage > 1) {
      --form.HelpPage;
      form.SwitchScreen(screen::Help);
      Click(form);
    }
  } else if (hit::PanelRightClick.Contains(x, y)) {
    if (form.HelpPage < 3) {
      ++form.HelpPage;
      form.SwitchScreen(screen::Help);
      Click(form);
    }
  }
}

void OptionsDown(TMainForm& form, int x, int y) {
  // A click anywhere takes the focus from a country field that holds text.
  if (!form.Edit1.Text.empty()) form.GamegoEdit.Checked = false;
  if (form.GameFullScreen.Checked ? hit::ModeWindowed.Contains(x, y) : hit::ModeFullScreen.Contains(x, y)) {
    form.GameFullScreenClick();
    Click(form);
  } else if (!form.GameMusic.Checked && hit::MusicOn.Contains(x, y)) {
    form.GameMusicClick();
    Click(form);
    form.PlayMusic("1");
  } else if (form.GameMusic.Checked && hit::MusicOff.Contains(x, y)) {
    form.GameMusicClick();
    Click(form);
    form.StopMusic();
  } else if (form.GameSound.Checked ? hit::SoundOffClick.Contains(x, y) : hit::SoundOn.Contains(x, y)) {
    // Turning sound off makes this click silent.
    form.GameSoundClick();
    Click(form);
  } else if (hit::CountryField.Contains(x, y)) {
    form.GamegoEdit.Checked = true;
    Click(form);
  } else if (hit::PanelBack.Contains(x, y)) {
    form.SwitchScreen(screen::MainMenu);
    Click(form);
  }
}

void HighScoresDown(TMainForm& form, int x, int y) {
  if (form.GameClearHighScore.Checked) {
    if (hit::Yes.Contains(x, y)) {
      form.ResetHighScores();
      form.GameClearHighScoreClick();
      Click(form);
    } else if (hit::No.Contains(x, y)) {
      form.GameClearHighScoreClick();
      Click(form);
    }
    return;
  }
  if (hit::PanelLeft.Contains(x, y)) {
    form.GameClearHighScoreClick();
    Click(form);
  } else if (hit::HighScoreBackClick.Contains(x, y)) {
    form.SwitchScreen(screen::MainMenu);
    Click(form);
  } else if (hit::PanelRightClick.Contains(x, y)) {
    form.GoWeb(OnlineTableAddress(form.ScoreServer));
    Click(form);
  }
}

void SubScreenDown(TMainForm& form, int x, int y) {
  if (hit::FggPanelClick.Contains(x, y)) {
    form.ShellOpenFile("moregames.url");
    Click(form);
  }
  if (form.GameMainExit.Checked)
    ExitAnswers(form, x, y);
  else if (!form.QuestionOpen())
    Column(form, x, y, hit::VisitWebSite);
  // The panel's own buttons answer whether or not the column did, and also
  // with the confirmation open; the screen may have changed meanwhile.
  switch (form.CurrentScreen) {
    case screen::Help:
      HelpDown(form, x, y);
      break;
    case screen::Options:
      OptionsDown(form, x, y);
      break;
    case screen::HighScores:
      HighScoresDown(form, x, y);
      break;
    default:
      break;
  }
}

void GameOverDown(TMainForm& form, int x, int y) {
  // Nothing answers during the first five seconds.
  if (form.Timer1.Enabled()) return;
  if (form.RaceState.Score < HighScoreThreshold(form.HighScores)) {
    BriefPause();
    form.SwitchScreen(screen::MainMenu);
    return;
  }
  if (!form.Edit2.Text.empty()) form.GamegoEdit.Checked = false;
  if (hit::NameField.Contains(x, y)) {
    form.GamegoEdit.Checked = true;
    Click(form);
  } else if (hit::SendBox.Contains(x, y)) {
    form.GameSendResultClick();
    Click(form);
  }
}

}  // namespace

void TMainForm::DXDrawMouseDown(int button, uint8_t /*shift*/, int pressX, int pressY) {
  const int x = PointerX;
  const int y = PointerY;
  switch (CurrentScreen) {
    case screen::MainMenu:
      MainMenuDown(*this, button, x, y);
      break;
    case screen::Race:
      RaceDown(*this, x, y);
      break;
    case screen::Help:
    case screen::Options:
    case screen::HighScores:
      if (button == kLeftButton) SubScreenDown(*this, x, y);
      break;
    case screen::GameOver:
      if (button == kLeftButton) GameOverDown(*this, x, y);
      break;
    case screen::Exit:
      // The exit screen's buttons go by where the press itself was.
      if (button == kLeftButton) ExitScreenClick(pressX, pressY);
      break;
    default:
      break;
  }
}

}  // namespace bd
