#include "frontend/screens/MenuParts.h"

#include <array>

#include "engine/images/PictureCollection.h"
#include "engine/sprites/BackgroundSprite.h"
#include "frontend/FrontEndHost.h"
#include "frontend/MenuSprites.h"
#include "frontend/screens/ScreenNumbers.h"
#include "frontend/screens/TextWriter.h"

namespace bd {
namespace {

constexpr int kLeftButton = 1;
constexpr int kColumnButtons = 6;

template <uint8_t Screen>
void Open(IFrontEndHost& host) {
  host.SwitchScreen(Screen);
  ClickSound(host);
}

void OpenMoreGames(IFrontEndHost& host) {
  host.ShellOpenFile("moregames.url");
  ClickSound(host);
}

// A column item: its picture, its highlight one layer up, one area for
// both hover and click unless told otherwise.
template <class THighlight>
constexpr TItem ColumnItem(TPictureName normal, TPictureName highlight, int y, THitRect area,
                           void (*action)(IFrontEndHost&)) {
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
      ColumnItem<Start_Game>(pic::StartGameNormal, pic::StartGameHover, 118, hit::StartGame,
                             &Open<screen::Race>),
      ColumnItem<Options>(pic::OptionsNormal, pic::OptionsHover, 188, hit::Options, &Open<screen::Options>),
      ColumnItem<High_Score>(pic::HighScoreNormal, pic::HighScoreHover, 258, hit::HighScore,
                             &Open<screen::HighScores>),
      ColumnItem<Help>(pic::HelpNormal, pic::HelpHover, 328, hit::Help, &Open<screen::Help>),
      ColumnItem<Visit_Web_Site>(pic::VisitWebSiteNormal, pic::VisitWebSiteHover, 398, hit::VisitWebSite,
                                 &OpenMoreGames),
      ColumnItem<Exit_>(pic::ExitNormal, pic::ExitHover, 468, hit::Exit,
                        [](IFrontEndHost& f) {
                          f.Click(TFlag::MainExit);
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

void AddPictures(IFrontEndHost& host, std::initializer_list<TPicture> pictures) {
  for (const TPicture& p : pictures) AddPicture<TImageSprite>(host, p.Image, p.X, p.Y, p.Z);
}

// Both column variants show the same pictures.
void AddMenuColumn(IFrontEndHost& host) { AddItemPictures(host, kMainMenuColumn); }

void AddBackground(IFrontEndHost& host) {
  TPictureCollectionItem& image = MenuImage(host, pic::MenuBackdrop);
  auto* background = new TBackgroundSprite(&EngineRoot(host));
  background->ResizeMap(1, 1);
  background->Image = &image;
  background->Endless = true;
  background->ChangeZ(0);
}

void PointerHandOver(IFrontEndHost& host) {
  if (host.PointerX() > 512) host.WarpPointer(255, 320);
}

std::span<const TItem> MenuColumn(bool onMainMenu) {
  return onMainMenu ? std::span<const TItem>(kMainMenuColumn) : std::span<const TItem>(kSubScreenColumn);
}

std::span<const TItem> ColumnButtons(bool onMainMenu) { return MenuColumn(onMainMenu).first(kColumnButtons); }

std::span<const TItem> Badge(bool onMainMenu) { return MenuColumn(onMainMenu).subspan(kColumnButtons); }

// Missing the badge does not re-arm the sound: the group after it decides,
// so moving within one column item sounds once, while every move over the
// badge sounds (the column, or an open question's answers, after it miss
// and re-arm). Hover is the same on every menu screen.
void MenuGroups(IFrontEndHost& host, int x, int y) {
  HoverItems(host, Badge(true), x, y, false);
  if (!host.QuestionOpen()) HoverItems(host, ColumnButtons(true), x, y);
}

void TPanelScreen::Frame(int /*lagCount*/) {
  host_.SpriteFrame(16, true);
  if (!host_.DisplayUp()) return;
  TTextWriter out(host_);
  DrawTexts(out);
  out.FocusFrame();
}

void TPanelScreen::PointerMove(int x, int y) {
  host_.SetPointer(PointerShape::Arrow);
  // A question's answers reach past the panel: while one is open the panel
  // rule waits, so the pointer can go to "Нет" without leaving the screen.
  if (!host_.QuestionOpen() && !hit::Panel.Contains(x, y)) host_.SwitchScreen(screen::MainMenu);
  MenuGroups(host_, x, y);
  // The panel's groups are this screen's, even when the panel rule has
  // already switched to the main menu.
  PanelHover(x, y);
}

void TPanelScreen::PointerDown(int button, int /*pressX*/, int /*pressY*/) {
  if (button != kLeftButton) return;
  const int x = host_.PointerX();
  const int y = host_.PointerY();
  ClickItems(host_, Badge(false), x, y);
  if (!host_.QuestionOpen()) ClickItems(host_, ColumnButtons(false), x, y);
  // The panel's own buttons answer whether or not the column did, and also
  // with the question open; the screen may have changed meanwhile.
  host_.Screen().PanelClick(x, y);
}

}  // namespace bd
