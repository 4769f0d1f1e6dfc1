#include "frontend/MenuSprites.h"

#include "engine/display/Canvas.h"
#include "engine/images/PictureCollection.h"
#include "frontend/FrontEndHost.h"
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

TSprite& EngineRoot(IFrontEndHost& host) { return host.Sprites(); }

TPictureCollectionItem& MenuImage(IFrontEndHost& host, TPictureName name) { return host.Image(name); }

Palka::Palka(TSprite* parent, IFrontEndHost& host) : TImageSprite(parent), host_(host) {
  TPictureCollectionItem& image = MenuImage(host, pic::Caret);
  Image = &image;
  PixelPrecise = true;
  ChangeZ(800);
  Width = image.Width();
  Height = image.Height();
}

void BlinkCaret(IFrontEndHost& host) {
  // The width is kept fresh in every frame, not only while a caret is shown:
  // otherwise characters typed in the caret's dark half would run past the
  // field.
  if (host.DisplayUp()) host.Screen().MeasureTyping();
  if (host.Typing() && host.CaretBlink() > 15) new Palka(&EngineRoot(host), host);
  if (host.CaretBlink() <= 15) {
    if (host.CaretBlink() == 0) host.CaretBlink() = 30;
    KillAll<Palka>(EngineRoot(host));
  }
}

void Palka::Step(int32_t moveCount) {
  TImageSprite::Step(moveCount);
  if (!host_.DisplayUp()) return;
  double x = 0;
  double y = 0;
  if (host_.Screen().CaretPlace(x, y)) {
    X = x;
    Y = y;
  }
}

}  // namespace bd
