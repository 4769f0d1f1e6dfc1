// The settings file as the form sees it, and the two option toggles that
// only flip a flag (full screen is in FullScreen.cpp).
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "app/MainForm.h"
#include "app/Settings.h"

namespace bd {

namespace {
constexpr int kReportedSettingsProblems = 8;
}  // namespace

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
  // Lines that cannot be used keep their current value; a damaged file must
  // not stop the game from starting. The file as it was is kept next to it
  // before the game writes over it, and the player is told.
  std::ostringstream problems;
  const bool read = LoadSettingsFile(SettingsFileName, values, problems);
  if (!problems.str().empty()) {
    // A garbled file may have a problem on every line: the first few say enough.
    std::string message;
    std::istringstream lines(problems.str());
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count)
      if (count < kReportedSettingsProblems) message += line + '\n';
    if (count > kReportedSettingsProblems)
      message += "and " + std::to_string(count - kReportedSettingsProblems) + " more lines\n";
    std::string error;
    const std::filesystem::path kept = KeepBadSettingsFile(SettingsFileName, read, error);
    if (kept.empty())
      message += "No copy of the file could be kept: " + error;
    else if (read)
      message += "A copy of the file as it was is kept as '" + kept.string() + "'.";
    else
      message += "The file was moved to '" + kept.string() + "'.";
    Application.ShowException(std::runtime_error(message));
  }
  if (!read) return;

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
  // A file that cannot be written (a full disk, a read-only folder) is
  // reported, but the screen change that saves goes on: the settings stay
  // in the game and the next save tries again. The file on disk is left
  // as it was.
  try {
    SaveSettingsFile(SettingsFileName, values);
  } catch (EError& e) {
    e.SetMessage(std::string(e.what()) + "\nThe settings and the high scores were not saved; '" +
                 SettingsFileName + "' is as it was.");
    Application.ShowException(e);
  }
}

}  // namespace bd
