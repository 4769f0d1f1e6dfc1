#pragma once
// What the main menu and its three sub-screens share: the menu column on the
// right with the "more games" badge, the backdrop, the answers of the
// questions, and the sub-screens' panel on the left, which closes again when
// the pointer leaves it.

#include <cstdint>
#include <initializer_list>
#include <span>

#include "frontend/PointerRects.h"
#include "frontend/screens/Screen.h"

namespace bd {

class TMainForm;

// A picture at its own size, as a plain sprite.
struct TPicture {
  const char* Image;
  int X;
  int Y;
  int Z;
};
void AddPictures(TMainForm& form, std::initializer_list<TPicture> pictures);
// The menu column's pictures, and the menu backdrop tiled over the display.
void AddMenuColumn(TMainForm& form);
void AddBackground(TMainForm& form);
// A sub-screen chosen from the column would close again at the pointer's
// next move, which is outside its panel; the pointer is put into the panel.
void PointerHandOver(TMainForm& form);

// The click's sound, which every action of the menus plays.
void ClickSound(TMainForm& form);

// One item of a hover group: where it answers and the highlight it shows.
struct THover {
  THitRect rect;
  void (*highlight)(TMainForm&);
};
// Tests (x, y) against one group. A hit shows the hand and the item's
// highlight and plays the hover sound if the previous groups left it armed;
// a miss re-arms it (unless told not to). Several groups run one after the
// other, so the last one decides whether the next hit sounds.
bool HoverGroup(TMainForm& form, std::span<const THover> group, int x, int y, bool rearmOnMiss = true);
// The questions' answers.
std::span<const THover> AnswerHovers();
// The main menu's groups, which every sub-screen runs too: the badge, then
// the exit question's answers while it is open, else the column.
void MenuGroups(TMainForm& form, int x, int y);

// The exit question's answers on the menu screens.
void ExitAnswerClick(TMainForm& form, int x, int y);
// The menu column; `visitWebSite` is where its Visit Web Site item answers.
void ColumnClick(TMainForm& form, int x, int y, const THitRect& visitWebSite);

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
