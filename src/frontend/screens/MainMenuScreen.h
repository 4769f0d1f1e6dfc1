#pragma once
// The main menu: the column of items on the right over the menu backdrop.

#include "frontend/screens/Screen.h"

namespace bd {

class TMainMenuScreen : public TScreen {
 public:
  using TScreen::TScreen;
  void Build() override;
  void Frame(int lagCount) override;
  void KeyDown(int key, uint8_t shift) override;
  void PointerMove(int x, int y) override;
  void PointerDown(int button, int pressX, int pressY) override;
  std::vector<TItem> FocusItems() const override;
  bool CloseQuery() override;
  bool OffersExitQuestion() const override { return true; }
  const char* Song() const override { return "1"; }
};

}  // namespace bd
