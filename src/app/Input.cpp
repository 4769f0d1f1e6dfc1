// Keys from the window: the table of held keys that the race reads.
#include "app/MainForm.h"

namespace bd {

void TMainForm::FormKeyDown(int key, uint8_t /*shift*/) { KeyDown[static_cast<uint8_t>(key)] = 1; }

void TMainForm::FormKeyUp(int key, uint8_t /*shift*/) { KeyDown[static_cast<uint8_t>(key)] = 0; }

}  // namespace bd
