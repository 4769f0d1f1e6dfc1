#include "frontend/screens/MenuParts.h"

#include <array>

#include "app/MainForm.h"
#include "engine/sprites/BackgroundSprite.h"
#include "engine/images/PictureCollection.h"
#include "frontend/MenuSprites.h"
#include "frontend/screens/Questions.h"
#include "frontend/screens/TextWriter.h"

namespace bd {
namespace {

constexpr int kLeftButton = 1;
constexpr int kColumnButtons = 6;

template <uint8_t Screen>
void Open(TMainForm& form) {
  form.SwitchScreen(Screen);
  ClickSound(form);
}

void OpenMoreGames(TMainForm& form) {
  form.ShellOpenFile("moregames.url");
  ClickSound(form);
}

// A column item: its picture, its highlight one layer up, one area for
// both hover and click unless told otherwise.
template <class THighlight>
constexpr TItem ColumnItem(TPictureName normal, TPictureName highlight, int y, THitRect area,
                           void (*action)(TMainForm&)) {
  return {.Picture = {normal, 514, y, 0},
          .Highlight = {highlight, 514, y, 1},
          .MakeHighlight = &HighlightAs<THighlight>,
          .Hover = area,
          .Click = area,
          .Action = action};
}

constexpr std::array<TItem, kColumnButtons + 1> Column(const THitRect& visitWebSiteClick,
                                                       const THitRect& badgeClick) {
  std::array<TItem, kColumnButtons + 1> items = {{
      ColumnItem<Start_Game>(pic::StartGameNormal, pic::StartGameHover, 118, hit::StartGame, &Open<screen::Race>),
      ColumnItem<Options>(pic::OptionsNormal, pic::OptionsHover, 188, hit::Options, &Open<screen::Options>),
      ColumnItem<High_Score>(pic::HighScoreNormal, pic::HighScoreHover, 258, hit::HighScore, &Open<screen::HighScores>),
      ColumnItem<Help>(pic::HelpNormal, pic::HelpHover, 328, hit::Help, &Open<screen::Help>),
      ColumnItem<Visit_Web_Site>(pic::VisitWebSiteNormal, pic::VisitWebSiteHover, 398, hit::VisitWebSite,
                                 &OpenMoreGames),
      ColumnItem<Exit_>(pic::ExitNormal, pic::ExitHover, 468, hit::Exit,
                        [](TMainForm& f) {
                          f.GameMainExitClick();
                          ClickSound(f);
                        }),
      {.Picture = {pic::MoreGamesNormal, 530, 530, 0},
       .Highlight = {pic::MoreGamesHover, 530, 531, 802},
       .MakeHighlight = &HighlightAs<fggActive>,
       .Hover = hit::Fgg,
       .Click = badgeClick,
       .Action = &OpenMoreGames},
  }};
  items[4].Click = visitWebSiteClick;
  return items;
}

constexpr auto kMainMenuColumn = Column(hit::VisitWebSiteMenuClick, hit::FggMenuClick);
constexpr auto kSubScreenColumn = Column(hit::VisitWebSite, hit::FggPanelClick);

}  // namespace

void AddPictures(TMainForm& form, std::initializer_list<TPicture> pictures) {
  for (const TPicture& p : pictures) AddPicture<TImageSprite>(form, p.Image, p.X, p.Y, p.Z);
}

// Both column variants show the same pictures.
void AddMenuColumn(TMainForm& form) { AddItemPictures(form, kMainMenuColumn); }

void AddBackground(TMainForm& form) {
  TPictureCollectionItem& image = MenuImage(form, pic::MenuBackdrop);
  auto* background = new TBackgroundSprite(&EngineRoot(form));
  background->ResizeMap(1, 1);
  background->Image = &image;
  background->Endless = true;
  background->ChangeZ(0);
}

void PointerHandOver(TMainForm& form) {
  if (form.PointerX > 512) form.Window.WarpPointer(255, 320);
}

std::span<const TItem> MenuColumn(bool onMainMenu) {
  return onMainMenu ? std::span<const TItem>(kMainMenuColumn) : std::span<const TItem>(kSubScreenColumn);
}

std::span<const TItem> ColumnButtons(bool onMainMenu) { return MenuColumn(onMainMenu).first(kColumnButtons); }

std::span<const TItem> Badge(bool onMainMenu) { return MenuColumn(onMainMenu).subspan(kColumnButtons); }

// Missing the badge does not re-arm the sound: the group after it decides,
// so moving within one column item sounds once, while every move over the
// badge sounds (the column after it misses and re-arms). Hover is the same
// on every menu screen.
void MenuGroups(TMainForm& form, int x, int y) {
  HoverItems(form, Badge(true), x, y, false);
  if (form.GameMainExit.Checked)
    HoverItems(form, ExitAnswers(), x, y);
  else if (!form.QuestionOpen())
    HoverItems(form, ColumnButtons(true), x, y);
}

void TPanelScreen::Frame(int /*lagCount*/) {
  form_.SpriteFrame(16, true);
  if (form_.DXDraw.BackBuffer() == nullptr) return;
  TTextWriter out(form_);
  DrawTexts(out);
  out.FocusFrame();
}

void TPanelScreen::PointerMove(int x, int y) {
  form_.Window.SetPointer(PointerShape::Arrow);
  // A question's answers reach past the panel: while one is open the panel
  // rule waits, so the pointer can go to "Нет" without leaving the screen.
  if (!form_.QuestionOpen() && !hit::Panel.Contains(x, y)) form_.SwitchScreen(screen::MainMenu);
  MenuGroups(form_, x, y);
  // The panel's groups are this screen's, even when the panel rule has
  // already switched to the main menu.
  PanelHover(x, y);
}

void TPanelScreen::PointerDown(int button, int /*pressX*/, int /*pressY*/) {
  if (button != kLeftButton) return;
  const int x = form_.PointerX;
  const int y = form_.PointerY;
  ClickItems(form_, Badge(false), x, y);
  if (form_.GameMainExit.Checked)
    ClickItems(form_, ExitAnswers(), x, y);
  else if (!form_.QuestionOpen())
    ClickItems(form_, ColumnButtons(false), x, y);
  // The panel's own buttons answer whether or not the column did, and also
  // with the question open; the screen may have changed meanwhile.
  form_.Screen().PanelClick(x, y);
}

}  // namespace bd
