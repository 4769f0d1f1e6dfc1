#include "frontend/screens/Screen.h"

#include "app/MainForm.h"
#include "frontend/MenuSprites.h"

namespace bd {

void TScreen::Leave() { EngineRoot(form_).ClearChildren(); }

bool TScreen::PadKeyDown(int key, uint8_t shift) {
  if (key != vk::Control) return false;
  form_.FormKeyDown(vk::Escape, static_cast<uint8_t>(shift & ~ssCtrl));
  return true;
}

}  // namespace bd
