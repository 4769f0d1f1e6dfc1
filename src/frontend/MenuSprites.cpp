#include "frontend/MenuSprites.h"

#include "app/MainForm.h"
#include "assets/PictureLookup.h"
#include "engine/display/Canvas.h"
#include "engine/images/PictureCollection.h"
#include "frontend/screens/Screen.h"

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

void BlinkCaret(TMainForm& form) {
  // The width is kept fresh in every frame, not only while a caret is shown:
  // otherwise characters typed in the caret's dark half would run past the
  // field.
  if (form.DXDraw.BackBuffer() != nullptr) form.Screen().MeasureTyping();
  if (form.GamegoEdit.Checked && form.CaretBlink > 15) new Palka(&EngineRoot(form), form);
  if (form.CaretBlink <= 15) {
    if (form.CaretBlink == 0) form.CaretBlink = 30;
    KillAll<Palka>(EngineRoot(form));
  }
}

void Palka::Step(int32_t moveCount) {
  TImageSprite::Step(moveCount);
  if (form_.DXDraw.BackBuffer() == nullptr) return;
  double x = 0;
  double y = 0;
  if (form_.Screen().CaretPlace(x, y)) {
    X = x;
    Y = y;
  }
}

}  // namespace bd
