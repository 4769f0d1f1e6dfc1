// The screens the shell builds itself: the splash with its tiled backdrop
// and centred logo, and the game-over picture with the score and the name.
#include "app/MainForm.h"
#include "engine/BackgroundSprite.h"
#include "engine/Canvas.h"
#include "engine/ImageSprite.h"
#include "engine/PictureCollection.h"
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

}  // namespace

void TMainForm::BuildSplash() {
  MenuMusicPending = false;
  PlayMusic("1");
  TSpriteEngine& engine = SpriteEngine.Engine();
  // Both pictures are looked up first, so a missing one leaves no half-built
  // screen behind.
  TPictureCollectionItem& backdrop = ImageList.FindImage("mySplash_fon");
  TPictureCollectionItem& logo = ImageList.FindImage("logo_loading");
  auto* tiles = new TBackgroundSprite(&engine);
  tiles->ResizeMap(1, 1);
  tiles->Image = &backdrop;
  tiles->Endless = true;  // one tile repeated over the whole display
  AddPicture(engine, logo, 400 - logo.Width() / 2, 300 - logo.Height() / 2, 100);
  Timer1.SetEnabled(true);
}

void TMainForm::BuildGameOver() {
  AddPicture(SpriteEngine.Engine(), ImageList.FindImage("gameOver"), 0, 0, -1);
  PlayMusic("3");
  Timer1.SetEnabled(false);
  Timer1.SetInterval(5000);
  Timer1.SetEnabled(true);
}

void TMainForm::DrawGameOverTexts() {
  if (!GameEnterName.Checked) return;
  PlayerName = Edit2.Text;
  TCanvas& canvas = DXDraw.SurfaceCanvas();
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Name = TextFont;
  canvas.Font.Color = 0;
  canvas.Font.Size = 20;
  const std::string score = std::to_string(RaceState.Score);
  canvas.TextOut(static_cast<int>(400 - Round(canvas.TextWidth(score) / 2.0)), 210, score);
  canvas.TextOut(static_cast<int>(400 - Round(canvas.TextWidth(PlayerName) / 2.0)), 310, PlayerName);
  DrawKeyFocusFrame(*this, canvas);
  DXDraw.ReleaseCanvas();
}

}  // namespace bd
