#pragma once
// The race screen: the form's race runs in its frames, and its keys drive,
// pause, fire and ask whether to leave. The pointer has nothing to do here
// but answer the exit question, which does that itself.

#include "frontend/screens/Screen.h"

namespace bd {

class TRaceScreen : public TScreen {
 public:
  using TScreen::TScreen;
  void Build() override;
  void Leave() override;
  void Frame(int lagCount) override;
  void KeyDown(int key, uint8_t shift) override;
  // A pad's B fires in a race; over the exit question the question takes it.
  bool PadKeyDown(int /*key*/, uint8_t /*shift*/) override { return false; }
  bool RunsRace() const override { return true; }
  bool CloseQuery() override;
  bool OffersExitQuestion() const override { return true; }
  const char* Song() const override { return "2"; }
};

}  // namespace bd
