#pragma once
// The high-score screen: the table in the panel, with buttons to clear it
// (after a question), to go back and to open the online table.

#include "frontend/screens/MenuParts.h"

namespace bd {

class THighScoresScreen : public TPanelScreen {
 public:
  using TPanelScreen::TPanelScreen;
  void Build() override;
  void Leave() override;
  void KeyDown(int key, uint8_t shift) override;
  void PanelClick(int x, int y) override;
  std::vector<TItem> FocusItems() const override;
  bool OffersClearQuestion() const override { return true; }

 protected:
  void PanelHover(int x, int y) override;
  void DrawTexts(TTextWriter& out) override;
};

}  // namespace bd
