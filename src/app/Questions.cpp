// The questions over the screens: the exit question and the clear question
// are objects of frontend/overlays/, which open, close and answer them; the
// form's flags GameMainExit and GameClearHighScore keep whether they are
// open, for everything else that reads them.
#include "app/MainForm.h"
#include "frontend/overlays/Overlays.h"

namespace bd {

void TMainForm::GameMainExitClick() { overlays_->Exit().Click(); }

void TMainForm::GameClearHighScoreClick() { overlays_->Clear().Click(); }

TQuestion* TMainForm::OpenQuestion() const { return overlays_->Open(); }

}  // namespace bd
