// Entering a finished race's score into the table from the game-over
// screen, keeping its recording beside the table, and reporting it to the
// score server when the player asked to; clearing the table.
#include "app/MainForm.h"
#include "codec/Cp1251.h"
#include "frontend/ScoreReport.h"

namespace bd {

void TMainForm::EnterHighScore() {
  NameLastRecording(PlayerName);
  const int index = ::bd::EnterHighScore(HighScores, PlayerName, RaceState.Score);
  // The report goes out, and is waited for, before the screen changes.
  if (GameSendResult.Checked) SendResultOnline();
  // Right before the screen change that saves the table, so that the files
  // and the settings file are seldom out of step.
  if (index >= 0) KeepTableRecording(index);
  SwitchScreen(screen::HighScores);
}

void TMainForm::KeepTableRecording(int index) {
  // As with the settings file: the player is told, and the table and the
  // game go on. Whatever files were not moved no longer match their
  // entries, so they are not offered for the wrong game.
  try {
    tableRecordings_.Entered(index, HighScores[static_cast<size_t>(index)], LastRecording());
  } catch (EError& e) {
    e.SetMessage(std::string(e.what()) + "\nThe high scores are kept, but not the recording of this game.");
    Application.ShowException(e);
  }
}

void TMainForm::ClearHighScores() {
  ResetHighScores();
  try {
    tableRecordings_.Cleared();
  } catch (EError& e) {
    e.SetMessage(std::string(e.what()) +
                 "\nThe high scores were cleared; a recording left behind is not offered.");
    Application.ShowException(e);
  }
}

TTableRecordingLookup TMainForm::TableRecording(int index) const {
  return tableRecordings_.At(index, HighScores.at(static_cast<size_t>(index)));
}

void TMainForm::SendResultOnline() {
  const TScoreSubmission submission{Edit2.Text, RaceState.Score, Edit1.Text};
  if (!SubmitScore(*IdHTTP1, submission, ScoreServer) && Application.GetPlatform().messageBox != nullptr)
    Application.GetPlatform().messageBox->Show(Application.Title, "Can't connect to server!");
}

}  // namespace bd
