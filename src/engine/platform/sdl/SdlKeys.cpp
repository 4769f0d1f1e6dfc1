#include "engine/platform/sdl/SdlKeys.h"

#include "codec/Cp1251.h"
#include "engine/platform/Platform.h"

namespace bd {

int VirtualKeyFromScancode(SDL_Scancode sc) {
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return vk::F1 + (sc - SDL_SCANCODE_F1);
  if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return 97 + (sc - SDL_SCANCODE_KP_1);
  switch (sc) {
    case SDL_SCANCODE_0:
      return '0';
    case SDL_SCANCODE_BACKSPACE:
      return vk::Back;
    case SDL_SCANCODE_TAB:
      return vk::Tab;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER:
      return vk::Return;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
      return vk::Shift;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
      return vk::Control;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
      return vk::Menu;
    case SDL_SCANCODE_PAUSE:
      return vk::Pause;
    case SDL_SCANCODE_CAPSLOCK:
      return vk::Capital;
    case SDL_SCANCODE_ESCAPE:
      return vk::Escape;
    case SDL_SCANCODE_SPACE:
      return vk::Space;
    case SDL_SCANCODE_PAGEUP:
      return vk::Prior;
    case SDL_SCANCODE_PAGEDOWN:
      return vk::Next;
    case SDL_SCANCODE_END:
      return vk::End;
    case SDL_SCANCODE_HOME:
      return vk::Home;
    case SDL_SCANCODE_LEFT:
      return vk::Left;
    case SDL_SCANCODE_UP:
      return vk::Up;
    case SDL_SCANCODE_RIGHT:
      return vk::Right;
    case SDL_SCANCODE_DOWN:
      return vk::Down;
    case SDL_SCANCODE_PRINTSCREEN:
      return 44;
    case SDL_SCANCODE_INSERT:
      return vk::Insert;
    case SDL_SCANCODE_DELETE:
      return vk::Delete;
    case SDL_SCANCODE_LGUI:
      return 91;
    case SDL_SCANCODE_RGUI:
      return 92;
    case SDL_SCANCODE_APPLICATION:
      return 93;
    case SDL_SCANCODE_KP_0:
      return 96;
    case SDL_SCANCODE_KP_MULTIPLY:
      return 106;
    case SDL_SCANCODE_KP_PLUS:
      return 107;
    case SDL_SCANCODE_KP_MINUS:
      return 109;
    case SDL_SCANCODE_KP_PERIOD:
      return 110;
    case SDL_SCANCODE_KP_DIVIDE:
      return 111;
    case SDL_SCANCODE_NUMLOCKCLEAR:
      return 144;
    case SDL_SCANCODE_SCROLLLOCK:
      return 145;
    case SDL_SCANCODE_SEMICOLON:
      return 186;
    case SDL_SCANCODE_EQUALS:
      return 187;
    case SDL_SCANCODE_COMMA:
      return 188;
    case SDL_SCANCODE_MINUS:
      return 189;
    case SDL_SCANCODE_PERIOD:
      return 190;
    case SDL_SCANCODE_SLASH:
      return 191;
    case SDL_SCANCODE_GRAVE:
      return 192;
    case SDL_SCANCODE_LEFTBRACKET:
      return 219;
    case SDL_SCANCODE_BACKSLASH:
      return 220;
    case SDL_SCANCODE_RIGHTBRACKET:
      return 221;
    case SDL_SCANCODE_APOSTROPHE:
      return 222;
    default:
      return 0;
  }
}

uint8_t ShiftFlagsFromMod(uint16_t mod) {
  uint8_t flags = 0;
  if (mod & KMOD_SHIFT) flags |= ssShift;
  if (mod & KMOD_ALT) flags |= ssAlt;
  if (mod & KMOD_CTRL) flags |= ssCtrl;
  return flags;
}

std::string TypedTextToCp1251(const char* utf8) {
  std::string out;
  const std::string_view text(utf8 == nullptr ? "" : utf8);
  size_t i = 0;
  while (i < text.size()) {
    // One code point at a time, so that a character without a Windows-1251
    // form can be dropped on its own.
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t len = 1;
    if (lead >= 0xF0)
      len = 4;
    else if (lead >= 0xE0)
      len = 3;
    else if (lead >= 0xC0)
      len = 2;
    const std::string_view one = text.substr(i, len);
    i += len;
    const std::string converted = Utf8ToCp1251(one);
    if (converted == "?" && one != "?") continue;
    out += converted;
  }
  return out;
}

uint8_t ControlCharForKey(int virtualKey) {
  switch (virtualKey) {
    case vk::Back:
    case vk::Tab:
    case vk::Return:
    case vk::Escape:
      return static_cast<uint8_t>(virtualKey);
    default:
      return 0;
  }
}

}  // namespace bd
