// Keys and the pointer from the window: the table of held keys that the race
// reads, and every key, character, move and press handed to an open
// question first and then to the current screen. Typing goes only to the fields, and only what a field may
// hold.
#include "app/MainForm.h"
#include "frontend/MenuSprites.h"
#include "frontend/overlays/Overlays.h"
#include "frontend/screens/Screen.h"

namespace bd {
namespace {

// The characters a country or a name may hold: digits, Latin letters and
// the Cyrillic letters of Windows-1251, which keeps Ё and ё apart from the
// rest at 168 and 184. No space or other sign: a Space typed into a name
// is dropped, and nothing else on the screen answers it.
bool IsFieldCharacter(uint8_t c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == 168 || c == 184 ||
         c >= 192;
}

}  // namespace

void TMainForm::FormKeyDown(int key, uint8_t shift) {
  KeyDown[static_cast<uint8_t>(key)] = 1;
  if (!overlays_->KeyDown(key, shift)) Screen().KeyDown(key, shift);
  if ((shift & ssAlt) != 0 && key == vk::Return) GameFullScreenClick();
}

bool TMainForm::PadKeyDown(int key, uint8_t shift) {
  return overlays_->PadKeyDown(key, shift) || Screen().PadKeyDown(key, shift);
}

void TMainForm::FormKeyUp(int key, uint8_t /*shift*/) { KeyDown[static_cast<uint8_t>(key)] = 0; }

void TMainForm::DXDrawKeyPress(uint8_t key) {
  // For Enter and Space the character's code is the key's code.
  KeyDown[key] = 1;
}

void TMainForm::FormKeyPress(uint8_t key) {
  if (!GamegoEdit.Checked || !IsFieldCharacter(key)) return;
  Screen().KeyPress(key);
}

void TMainForm::DXDrawMouseMove(uint8_t /*shift*/, int x, int y) {
  KillAll<TMenuGame>(EngineRoot(FrontEnd()));
  PointerX = x;
  PointerY = y;
  PointerInWindow = true;
  HoverAt(x, y);
}

void TMainForm::HoverAt(int x, int y) {
  Screen().PointerMove(x, y);
  overlays_->PointerMove(x, y);
}

void TMainForm::DXDrawMouseDown(int button, uint8_t /*shift*/, int pressX, int pressY) {
  if (!overlays_->PointerDown(button)) Screen().PointerDown(button, pressX, pressY);
}

}  // namespace bd
