#pragma once
// What the main menu and its three sub-screens share: the menu column on the
// right with the "more games" badge, the backdrop, the answers of the
// questions, and the sub-screens' panel on the left, which closes again when
// the pointer leaves it.

#include <cstdint>
#include <initializer_list>
#include <span>

#include "frontend/Item.h"
#include "frontend/screens/Screen.h"

namespace bd {

class IFrontEndHost;

// A picture at its own size, as a plain sprite.
struct TPicture {
  TPictureName Image;
  int X;
  int Y;
  int Z;
};
void AddPictures(IFrontEndHost& host, std::initializer_list<TPicture> pictures);
// The menu column's pictures, and the menu backdrop tiled over the display.
void AddMenuColumn(IFrontEndHost& host);
void AddBackground(IFrontEndHost& host);
// A sub-screen chosen from the column would close again at the pointer's
// next move, which is outside its panel; the pointer is put into the panel.
void PointerHandOver(IFrontEndHost& host);

// The menu column's items and, last, the "more games" badge. The main menu
// answers clicks on Visit Web Site and on the badge over narrower areas
// than the sub-screens do.
std::span<const TItem> MenuColumn(bool onMainMenu);
// The column without the badge, and the badge alone.
std::span<const TItem> ColumnButtons(bool onMainMenu);
std::span<const TItem> Badge(bool onMainMenu);

// The main menu's hover groups, which every sub-screen runs too: the badge,
// then the column unless a question is open.
void MenuGroups(IFrontEndHost& host, int x, int y);

// A sub-screen: a panel on the left with the menu column beside it.
class TPanelScreen : public TScreen {
 public:
  using TScreen::TScreen;
  void Frame(int lagCount) override;
  void PointerMove(int x, int y) override;
  void PointerDown(int button, int pressX, int pressY) override;
  bool OffersExitQuestion() const override { return true; }
  const char* Song() const override { return "1"; }

 protected:
  // The panel's own hover groups.
  virtual void PanelHover(int x, int y) = 0;
  // The texts drawn over the sprites in every frame.
  virtual void DrawTexts(class TTextWriter& out) = 0;
};

}  // namespace bd
