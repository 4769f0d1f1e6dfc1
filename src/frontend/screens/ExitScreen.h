#pragma once
// The exit screen, shown when the player leaves: its buttons lead to other
// pages, and the way out opens once its countdown has run. Without one the
// program closes at once.

#include "frontend/screens/Screen.h"

namespace bd {

class TExitScreen : public TScreen {
 public:
  using TScreen::TScreen;
  void Build() override;
  void Leave() override {}
  void Frame(int lagCount) override;
  void KeyDown(int key, uint8_t shift) override;
  void PointerDown(int button, int pressX, int pressY) override;
  std::vector<TItem> FocusItems() const override;
  bool CloseQuery() override;
};

}  // namespace bd
