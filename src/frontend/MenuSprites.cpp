#include "frontend/MenuSprites.h"

#include "app/MainForm.h"
#include "assets/PictureLookup.h"
#include "engine/display/Canvas.h"
#include "engine/images/PictureCollection.h"

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

TPictureCollectionItem& MenuImage(TMainForm& form, TPictureName name) {
  return FindPicture(form.ImageList, name);
}

Palka::Palka(TSprite* parent, TMainForm& form) : TImageSprite(parent), form_(form) {
  TPictureCollectionItem& image = MenuImage(form, pic::Caret);
  Image = &image;
  PixelPrecise = true;
  ChangeZ(800);
  Width = image.Width();
  Height = image.Height();
}

namespace {

// The country's width in the field's font; it is also the room the typing
// has left.
int32_t MeasureCountry(TMainForm& form) {
  TCanvas& canvas = form.DXDraw.SurfaceCanvas();
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Name = form.TextFont;
  canvas.Font.Size = 18;
  form.CaretTextWidth = canvas.TextWidth(form.Country);
  form.DXDraw.ReleaseCanvas();
  return form.CaretTextWidth;
}

}  // namespace

void BlinkCaret(TMainForm& form) {
  // The width is kept fresh in every frame, not only while a caret is shown:
  // otherwise characters typed in the caret's dark half would run past the
  // field.
  if (form.CurrentScreen == screen::Options && form.DXDraw.BackBuffer() != nullptr) MeasureCountry(form);
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
  if (form_.CurrentScreen == screen::Options) {
    X = MeasureCountry(form_) + 272;
    Y = 360;
    return;
  }
  // The name is drawn centred on x 400; the caret follows its right end.
  TCanvas& canvas = form_.DXDraw.SurfaceCanvas();
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Name = form_.TextFont;
  canvas.Font.Size = 20;
  const int width = canvas.TextWidth(form_.PlayerName);
  form_.DXDraw.ReleaseCanvas();
  X = static_cast<double>(Round(width / 2.0) + 402);
  Y = 330;
}

}  // namespace bd
