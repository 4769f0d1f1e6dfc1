#include "frontend/screens/Screen.h"

#include "frontend/FrontEndHost.h"
#include "frontend/MenuSprites.h"

namespace bd {

void TScreen::Leave() { EngineRoot(host_).ClearChildren(); }

bool TScreen::PadKeyDown(int key, uint8_t shift) {
  if (key != vk::Control) return false;
  host_.PressKey(vk::Escape, static_cast<uint8_t>(shift & ~ssCtrl));
  return true;
}

}  // namespace bd
