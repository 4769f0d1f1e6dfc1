#pragma once
// The help screen: three pages in the panel, turned by its buttons.

#include "frontend/screens/MenuParts.h"

namespace bd {

class THelpScreen : public TPanelScreen {
 public:
  using TPanelScreen::TPanelScreen;
  void Build() override;
  void KeyDown(int key, uint8_t shift) override;
  void PanelClick(int x, int y) override;
  std::vector<TItem> FocusItems() const override;

 protected:
  void PanelHover(int x, int y) override;
  void DrawTexts(TTextWriter& out) override;
};

}  // namespace bd
