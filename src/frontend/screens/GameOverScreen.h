#pragma once
// The game-over screen: the score and the level reached, and, for a score
// that enters the table, the name entry with its "send online" box.

#include "frontend/screens/Screen.h"

namespace bd {

class TGameOverScreen : public TScreen {
 public:
  using TScreen::TScreen;
  void Build() override;
  void Leave() override;
  void Frame(int lagCount) override;
  void KeyDown(int key, uint8_t shift) override;
  void KeyPress(uint8_t key) override;
  bool PadKeyDown(int key, uint8_t shift) override;
  void PointerMove(int x, int y) override;
  void PointerDown(int button, int pressX, int pressY) override;
  std::vector<TItem> FocusItems() const override;
  // The name field focused is the name being typed, as at the start.
  bool FocusedFieldTakesTyping() const override { return true; }
  bool CaretPlace(double& x, double& y) override;
  void TimerTick() override;
  const char* Song() const override { return "3"; }

 private:
  void DrawTexts();
};

}  // namespace bd
