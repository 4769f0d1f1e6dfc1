// The settings file as the form sees it, and the two option toggles that
// only flip a flag (full screen is in FullScreen.cpp).
#include <iostream>

#include "app/MainForm.h"
#include "app/Settings.h"

namespace bd {

void TMainForm::GameSoundClick() { GameSound.Checked = !GameSound.Checked; }

void TMainForm::GameMusicClick() { GameMusic.Checked = !GameMusic.Checked; }

void TMainForm::LoadSettings() {
  TSettingsValues values;
  values.FullScreen = GameFullScreen.Checked;
  values.Music = GameMusic.Checked;
  values.Sound = GameSound.Checked;
  values.Country = Edit1.Text;
  values.PlayerName = Edit2.Text;
  values.Table = HighScores;
  // Lines that cannot be used keep their current value and are reported on
  // stderr; a damaged file must not stop the game from starting.
  if (!LoadSettingsFile(SettingsFileName, values, std::cerr)) return;

  Edit1.Text = Country = values.Country;
  Edit2.Text = PlayerName = values.PlayerName;
  HighScores = values.Table;
  if (!values.Music) GameMusic.Checked = false;
  if (!values.Sound) GameSound.Checked = false;
  // Last, as it rebuilds the display: a failure there leaves the rest read.
  if (values.FullScreen && !GameFullScreen.Checked) GameFullScreenClick();
}

void TMainForm::SaveSettings() {
  Country = Edit1.Text;
  PlayerName = Edit2.Text;
  TSettingsValues values;
  values.FullScreen = GameFullScreen.Checked;
  values.Music = GameMusic.Checked;
  values.Sound = GameSound.Checked;
  values.Country = Country;
  values.PlayerName = PlayerName;
  values.Table = HighScores;
  SaveSettingsFile(SettingsFileName, values);
}

}  // namespace bd
