#pragma once
// The options screen: window or full screen, music, sounds, and the
// player's country typed into a field.

#include "frontend/screens/MenuParts.h"

namespace bd {

class TOptionsScreen : public TPanelScreen {
 public:
  using TPanelScreen::TPanelScreen;
  void Build() override;
  void Leave() override;
  void KeyDown(int key, uint8_t shift) override;
  void KeyPress(uint8_t key) override;
  void PanelClick(int x, int y) override;
  std::vector<TItem> FocusItems() const override;
  void MeasureTyping() override;
  bool CaretPlace(double& x, double& y) override;

 protected:
  void PanelHover(int x, int y) override;
  void DrawTexts(TTextWriter& out) override;
};

}  // namespace bd
