#include "frontend/screens/SplashScreen.h"

#include "app/MainForm.h"
#include "engine/sprites/BackgroundSprite.h"
#include "engine/images/PictureCollection.h"
#include "frontend/MenuSprites.h"

namespace bd {

void TSplashScreen::Build() {
  form_.MenuMusicPending = false;
  form_.PlayMusic("1");
  TSprite& engine = EngineRoot(form_);
  // Both pictures are looked up first, so a missing one leaves no half-built
  // screen behind.
  TPictureCollectionItem& backdrop = MenuImage(form_, pic::SplashBackdrop);
  TPictureCollectionItem& logo = MenuImage(form_, pic::SplashLogo);
  auto* tiles = new TBackgroundSprite(&engine);
  tiles->ResizeMap(1, 1);
  tiles->Image = &backdrop;
  tiles->Endless = true;  // one tile repeated over the whole display
  PlacePicture(*new TImageSprite(&engine), logo, 400 - logo.Width() / 2, 300 - logo.Height() / 2, 100);
  form_.Timer1.SetEnabled(true);
}

void TSplashScreen::Frame(int /*lagCount*/) {
  // A full-screen background sprite covers the frame: no clearing.
  form_.SpriteFrame(16, false);
}

void TSplashScreen::KeyDown(int key, uint8_t shift) {
  if (key == vk::Return && (shift & ssAlt) == 0) form_.SwitchScreen(screen::MainMenu);
}

void TSplashScreen::TimerTick() { form_.SwitchScreen(screen::MainMenu); }

}  // namespace bd
