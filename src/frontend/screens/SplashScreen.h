#pragma once
// The splash: a tiled backdrop with the logo in the middle, until its timer
// or Enter brings the main menu.

#include "frontend/screens/Screen.h"

namespace bd {

class TSplashScreen : public TScreen {
 public:
  using TScreen::TScreen;
  void Build() override;
  void Frame(int lagCount) override;
  void KeyDown(int key, uint8_t shift) override;
  void TimerTick() override;
  const char* Song() const override { return "1"; }
};

}  // namespace bd
