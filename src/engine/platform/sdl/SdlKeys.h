#pragma once
// Translation of SDL keyboard input into what the game works with: the
// platform-independent virtual-key codes and Windows-1251 characters.

#include <SDL.h>

#include <cstdint>
#include <string>

namespace bd {

// The virtual-key code of a physical key, or 0 for keys the game has no code
// for. Letters and digits follow the key's position (as on a US layout), so
// they keep their codes under any keyboard layout, Cyrillic included.
int VirtualKeyFromScancode(SDL_Scancode scancode);

// The Alt, Ctrl and Shift flags of a modifier state.
uint8_t ShiftFlagsFromMod(uint16_t mod);

// Typed text as Windows-1251 characters; characters that code page cannot
// hold are left out rather than turned into '?'.
std::string TypedTextToCp1251(const char* utf8);

// The character a key-down also types, as the desktop's own translation
// does for keys that produce control characters (Enter 13, Backspace 8,
// Tab 9, Escape 27); 0 for other keys, whose characters come as text.
uint8_t ControlCharForKey(int virtualKey);

}  // namespace bd
