#include <gtest/gtest.h>

#include "codec/Cp1251.h"
#include "engine/platform/Platform.h"
#include "engine/platform/sdl/SdlKeys.h"

namespace bd {
namespace {

TEST(SdlKeys, ScancodesBecomeVirtualKeys) {
  const std::pair<SDL_Scancode, int> cases[] = {
      {SDL_SCANCODE_BACKSPACE, 8}, {SDL_SCANCODE_RETURN, 13}, {SDL_SCANCODE_KP_ENTER, 13},
      {SDL_SCANCODE_ESCAPE, 27},   {SDL_SCANCODE_SPACE, 32},  {SDL_SCANCODE_LEFT, 37},
      {SDL_SCANCODE_UP, 38},       {SDL_SCANCODE_RIGHT, 39},  {SDL_SCANCODE_DOWN, 40},
      {SDL_SCANCODE_A, 'A'},       {SDL_SCANCODE_P, 'P'},     {SDL_SCANCODE_Z, 'Z'},
      {SDL_SCANCODE_0, '0'},       {SDL_SCANCODE_1, '1'},     {SDL_SCANCODE_9, '9'},
      {SDL_SCANCODE_LCTRL, 17},    {SDL_SCANCODE_RCTRL, 17},  {SDL_SCANCODE_LALT, 18},
      {SDL_SCANCODE_RALT, 18},     {SDL_SCANCODE_LSHIFT, 16}, {SDL_SCANCODE_F1, 112},
      {SDL_SCANCODE_F12, 123},     {SDL_SCANCODE_KP_0, 96},   {SDL_SCANCODE_KP_9, 105},
      {SDL_SCANCODE_DELETE, 46},   {SDL_SCANCODE_MINUS, 189}, {SDL_SCANCODE_UNKNOWN, 0},
  };
  for (auto [sc, key] : cases) EXPECT_EQ(VirtualKeyFromScancode(sc), key) << SDL_GetScancodeName(sc);
}

TEST(SdlKeys, ModifiersBecomeShiftFlags) {
  EXPECT_EQ(ShiftFlagsFromMod(KMOD_NONE), 0);
  EXPECT_EQ(ShiftFlagsFromMod(KMOD_LALT), ssAlt);
  EXPECT_EQ(ShiftFlagsFromMod(KMOD_RCTRL | KMOD_LSHIFT), ssCtrl | ssShift);
  EXPECT_EQ(ShiftFlagsFromMod(KMOD_NUM | KMOD_CAPS), 0);
}

TEST(SdlKeys, TypedTextBecomesWindows1251) {
  EXPECT_EQ(TypedTextToCp1251("Ab1"), "Ab1");
  EXPECT_EQ(TypedTextToCp1251("Ёжик"), W("Ёжик"));
  EXPECT_EQ(static_cast<unsigned char>(TypedTextToCp1251("я")[0]), 0xFF);
  EXPECT_EQ(TypedTextToCp1251("a日?b"), "a?b");  // no '?' for what the code page lacks
  EXPECT_EQ(TypedTextToCp1251(""), "");
  EXPECT_EQ(ControlCharForKey(vk::Return), 13);
  EXPECT_EQ(ControlCharForKey(vk::Back), 8);
  EXPECT_EQ(ControlCharForKey('A'), 0);
}

}  // namespace
}  // namespace bd
