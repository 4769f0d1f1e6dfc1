#pragma once
// The race screen: the form's race runs in its frames, and its keys drive,
// pause, fire and ask whether to leave.

#include "frontend/screens/Screen.h"

namespace bd {

class TRaceScreen : public TScreen {
 public:
  using TScreen::TScreen;
  void Build() override;
  void Leave() override;
  void Frame(int lagCount) override;
  void KeyDown(int key, uint8_t shift) override;
  bool PadKeyDown(int key, uint8_t shift) override;
  void PointerMove(int x, int y) override;
  void PointerDown(int button, int pressX, int pressY) override;
  std::vector<TItem> FocusItems() const override;
  // The race answers its own exit question (see FocusItems).
  bool AnswersOwnQuestion() const override { return true; }
  bool RunsRace() const override { return true; }
  bool CloseQuery() override;
  bool OffersExitQuestion() const override { return true; }
  const char* Song() const override { return "2"; }
};

}  // namespace bd
