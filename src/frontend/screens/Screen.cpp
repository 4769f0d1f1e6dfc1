#include "frontend/screens/Screen.h"

#include "frontend/FrontEndHost.h"
#include "frontend/KeyFocus.h"
#include "frontend/MenuSprites.h"

namespace bd {

void TScreen::Leave() { EngineRoot(host_).ClearChildren(); }

bool TScreen::PadKeyDown(int key, uint8_t shift) { return PadBackAsEscape(host_, key, shift); }

}  // namespace bd
