// Entering a finished race's score into the table from the game-over
// screen, and reporting it to the score server when the player asked to.
#include "app/MainForm.h"
#include "codec/Cp1251.h"
#include "frontend/ScoreReport.h"

namespace bd {

void TMainForm::EnterHighScore() {
  NameLastRecording(PlayerName);
  ::bd::EnterHighScore(HighScores, PlayerName, RaceState.Score);
  // The report goes out, and is waited for, before the screen changes.
  if (GameSendResult.Checked) SendResultOnline();
  SwitchScreen(screen::HighScores);
}

void TMainForm::SendResultOnline() {
  const TScoreSubmission submission{Edit2.Text, RaceState.Score, Edit1.Text};
  if (!SubmitScore(*IdHTTP1, submission, ScoreServer) && Application.GetPlatform().messageBox != nullptr)
    Application.GetPlatform().messageBox->Show(Application.Title, "Can't connect to server!");
}

}  // namespace bd
