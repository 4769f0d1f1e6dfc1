#include "frontend/screens/SplashScreen.h"

#include "engine/images/PictureCollection.h"
#include "engine/loop/Application.h"
#include "engine/sprites/BackgroundSprite.h"
#include "frontend/FrontEndHost.h"
#include "frontend/MenuSprites.h"
#include "frontend/screens/ScreenNumbers.h"

namespace bd {

void TSplashScreen::Build() {
  host_.SetMenuMusicPending(false);
  host_.PlayMusic("1");
  TSprite& engine = EngineRoot(host_);
  // Both pictures are looked up first, so a missing one leaves no half-built
  // screen behind.
  TPictureCollectionItem& backdrop = MenuImage(host_, pic::SplashBackdrop);
  TPictureCollectionItem& logo = MenuImage(host_, pic::SplashLogo);
  auto* tiles = new TBackgroundSprite(&engine);
  tiles->ResizeMap(1, 1);
  tiles->Image = &backdrop;
  tiles->Endless = true;  // one tile repeated over the whole display
  PlacePicture(*new TImageSprite(&engine), logo, 400 - logo.Width() / 2, 300 - logo.Height() / 2, 100);
  host_.ScreenTimer().SetEnabled(true);
}

void TSplashScreen::Frame(int /*lagCount*/) {
  // A full-screen background sprite covers the frame: no clearing.
  host_.SpriteFrame(16, false);
}

void TSplashScreen::KeyDown(int key, uint8_t shift) {
  if (key == vk::Return && (shift & ssAlt) == 0) host_.SwitchScreen(screen::MainMenu);
}

void TSplashScreen::TimerTick() { host_.SwitchScreen(screen::MainMenu); }

}  // namespace bd
