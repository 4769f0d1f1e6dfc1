// Building the main menu and its three sub-screens. Each is a set of
// pictures; the main menu's column stays on the right of every sub-screen and
// a panel on the left holds the sub-screen's content. Among sprites of equal
// depth the one created later is drawn beneath, so the backdrop comes last.
#include "app/MainForm.h"
#include "engine/sprites/BackgroundSprite.h"
#include "engine/images/PictureCollection.h"
#include "frontend/FrontEndScreens.h"
#include "frontend/MenuSprites.h"

namespace bd {
namespace {

struct TPicture {
  TPictureName Image;
  int X;
  int Y;
  int Z;
};

void AddPictures(TMainForm& form, std::initializer_list<TPicture> pictures) {
  for (const TPicture& p : pictures) AddPicture<TImageSprite>(form, p.Image, p.X, p.Y, p.Z);
}

void AddMenuColumn(TMainForm& form) {
  AddPictures(form, {
                        {pic::StartGameNormal, 514, 118, 0},
                        {pic::OptionsNormal, 514, 188, 0},
                        {pic::HighScoreNormal, 514, 258, 0},
                        {pic::HelpNormal, 514, 328, 0},
                        {pic::VisitWebSiteNormal, 514, 398, 0},
                        {pic::ExitNormal, 514, 468, 0},
                        {pic::MoreGamesNormal, 530, 530, 0},
                    });
}

// The menu backdrop, tiled over the whole display.
void AddBackground(TMainForm& form) {
  TPictureCollectionItem& image = MenuImage(form, pic::MenuBackdrop);
  auto* background = new TBackgroundSprite(&EngineRoot(form));
  background->ResizeMap(1, 1);
  background->Image = &image;
  background->Endless = true;
  background->ChangeZ(0);
}

// A sub-screen chosen from the column would close again at the pointer's
// next move, which is outside its panel; the pointer is put into the panel.
void PointerHandOver(TMainForm& form) {
  if (form.PointerX > 512) form.Window.WarpPointer(255, 320);
}

void BuildMainMenu(TMainForm& form) {
  form.Window.SetPointer(PointerShape::Arrow);
  if (form.MenuMusicPending) form.PlayMusic("1");
  form.MenuMusicPending = false;
  form.HelpPage = 1;
  AddMenuColumn(form);
  AddBackground(form);
}

void BuildHelpScreen(TMainForm& form) {
  PointerHandOver(form);
  AddPictures(form, {
                        {pic::SubmenuPanel, 17, 117, 0},
                        {pic::PreviousPageNormal, 38, 523, 1},
                        {pic::HelpBackNormal, 186, 523, 1},
                        {pic::NextPageNormal, 336, 523, 1},
                    });
  AddMenuColumn(form);
  AddBackground(form);
  // The "about" page shows the game's mascot beside its texts.
  if (form.HelpPage == 3) AddPicture<TImageSprite>(form, pic::Rabbit, 85, 297, 15);
}

void BuildOptionsScreen(TMainForm& form) {
  PointerHandOver(form);
  AddPicture<TImageSprite>(form, pic::SubmenuPanel, 17, 117, 0);
  AddMenuColumn(form);
  AddBackground(form);
  AddPictures(form, {
                        {pic::OptionsCountry, 266, 340, 1},
                        {pic::OptionsBackNormal, 187, 523, 1},
                    });
  form.CaretBlink = 30;
  // An empty country field has the focus at once.
  form.GamegoEdit.Checked = form.Country.empty();
}

void BuildHighScoreScreen(TMainForm& form) {
  PointerHandOver(form);
  if (form.MenuMusicPending) {
    form.PlayMusic("1");
    form.MenuMusicPending = false;
  }
  AddPictures(form, {
                        {pic::SubmenuPanel, 17, 117, 0},
                        {pic::HighScoreHeading, 42, 168, 1},
                        {pic::ClearScoresNormal, 38, 523, 2},
                        {pic::ViewScoresNormal, 336, 523, 2},
                        {pic::ScoresBackNormal, 187, 523, 2},
                    });
  for (int i = 0; i < HighScoreCount; ++i)
    AddPicture<TImageSprite>(form, pic::HighScoreRow, 42, 198 + 30 * i, 1);
  AddMenuColumn(form);
  AddBackground(form);
}

}  // namespace

void BuildFrontEndScreen(TMainForm& form, uint8_t n) {
  switch (n) {
    case screen::MainMenu:
      BuildMainMenu(form);
      break;
    case screen::Help:
      BuildHelpScreen(form);
      break;
    case screen::Options:
      BuildOptionsScreen(form);
      break;
    case screen::HighScores:
      BuildHighScoreScreen(form);
      break;
    default:
      break;
  }
}

}  // namespace bd
