#include "frontend/MenuSprites.h"

#include "app/MainForm.h"
#include "engine/Canvas.h"
#include "engine/PictureCollection.h"

namespace bd {

void PlacePicture(TImageSprite& sprite, TPictureCollectionItem& image, double x, double y, int32_t z) {
  sprite.Image = &image;
  sprite.X = x;
  sprite.Y = y;
  sprite.ChangeZ(z);
  sprite.Width = image.Width();
  sprite.Height = image.Height();
}

TSprite& EngineRoot(TMainForm& form) { return form.SpriteEngine.Engine(); }

TPictureCollectionItem& MenuImage(TMainForm& form, std::string_view name) { return form.ImageList.FindImage(name); }

Palka::Palka(TSprite* parent, TMainForm& form) : TImageSprite(parent), form_(form) {
  TPictureCollectionItem& image = MenuImage(form, "palka");
  Image = &image;
  PixelPrecise = true;
  ChangeZ(800);
  Width = image.Width();
  Height = image.Height();
}

void BlinkCaret(TMainForm& form) {
  if (form.GamegoEdit.Checked && form.CaretBlink > 15) new Palka(&EngineRoot(form), form);
  if (form.CaretBlink <= 15) {
    if (form.CaretBlink == 0) form.CaretBlink = 30;
    KillAll<Palka>(EngineRoot(form));
  }
}

void Palka::Step(int32_t moveCount) {
  TImageSprite::Step(moveCount);
  if (form_.CurrentScreen != screen::Options && form_.CurrentScreen != screen::GameOver) return;
  if (form_.DXDraw.BackBuffer() == nullptr) return;
  TCanvas& canvas = form_.DXDraw.SurfaceCanvas();
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Name = form_.TextFont;
  if (form_.CurrentScreen == screen::Options) {
    // The width also tells the typing how much room the field has left.
    canvas.Font.Size = 18;
    form_.CaretTextWidth = canvas.TextWidth(form_.Country);
    X = form_.CaretTextWidth + 272;
    Y = 360;
  } else {
    // The name is drawn centred on x 400; the caret follows its right end.
    canvas.Font.Size = 20;
    const int width = canvas.TextWidth(form_.PlayerName);
    X = static_cast<double>(Round(width / 2.0) + 402);
    Y = 330;
  }
  form_.DXDraw.ReleaseCanvas();
}

}  // namespace bd
