// The screens the shell builds itself: the splash with its tiled backdrop
// and centred logo, and the game-over picture with the score, the level
// reached and the name.
#include "app/MainForm.h"
#include "assets/PictureLookup.h"
#include "codec/Cp1251.h"
#include "engine/sprites/BackgroundSprite.h"
#include "engine/display/Canvas.h"
#include "engine/sprites/ImageSprite.h"
#include "engine/images/PictureCollection.h"
#include "frontend/KeyFocus.h"

namespace bd {
namespace {

// A picture at its own size as a plain sprite of the engine.
TImageSprite& AddPicture(TSpriteEngine& engine, TPictureCollectionItem& image, double x, double y,
                         int32_t z) {
  auto* sprite = new TImageSprite(&engine);
  sprite->Image = &image;
  sprite->Width = image.Width();
  sprite->Height = image.Height();
  sprite->X = x;
  sprite->Y = y;
  sprite->ChangeZ(z);
  return *sprite;
}

// The dark brown of the name entry panel's own captions.
constexpr uint32_t kPanelInk = 0x00141721;  // 0x00BBGGRR

}  // namespace

void TMainForm::BuildSplash() {
  MenuMusicPending = false;
  PlayMusic("1");
  TSpriteEngine& engine = SpriteEngine.Engine();
  // Both pictures are looked up first, so a missing one leaves no half-built
  // screen behind.
  TPictureCollectionItem& backdrop = FindPicture(ImageList, pic::SplashBackdrop);
  TPictureCollectionItem& logo = FindPicture(ImageList, pic::SplashLogo);
  auto* tiles = new TBackgroundSprite(&engine);
  tiles->ResizeMap(1, 1);
  tiles->Image = &backdrop;
  tiles->Endless = true;  // one tile repeated over the whole display
  AddPicture(engine, logo, 400 - logo.Width() / 2, 300 - logo.Height() / 2, 100);
  Timer1.SetEnabled(true);
}

void TMainForm::BuildGameOver() {
  AddPicture(SpriteEngine.Engine(), FindPicture(ImageList, pic::GameOver), 0, 0, -1);
  PlayMusic("3");
  Timer1.SetEnabled(false);
  Timer1.SetInterval(5000);
  Timer1.SetEnabled(true);
}

void TMainForm::DrawGameOverTexts() {
  TCanvas& canvas = DXDraw.SurfaceCanvas();
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Name = TextFont;
  canvas.Font.Color = 0;
  canvas.Font.Size = 20;
  canvas.Font.Style = 0;
  auto centred = [&canvas](int y, const std::string& text) {
    canvas.TextOut(static_cast<int>(400 - Round(canvas.TextWidth(text) / 2.0)), y, text);
  };
  const std::string score = std::to_string(RaceState.Score);
  const std::string level = std::to_string(RaceState.Level);
  if (GameEnterName.Checked) {
    PlayerName = Edit2.Text;
    centred(210, score);
    centred(310, PlayerName);
    // The level, in the panel's own lettering, between the score's plate
    // and the line that asks for the name.
    canvas.Font.Size = 11;
    canvas.Font.Style = fsBold;
    canvas.Font.Color = kPanelInk;
    centred(247, W("УРОВЕНЬ ") + level);
    canvas.Font.Style = 0;
  } else {
    // The two clouds carry the score and the level reached: for good when
    // the score stays below the table; when it enters the table, until the
    // name entry opens over them.
    centred(210, W("СЧЁТ: ") + score);
    centred(310, W("УРОВЕНЬ: ") + level);
  }
  DrawKeyFocusFrame(*this, canvas);
  DXDraw.ReleaseCanvas();
}

}  // namespace bd
