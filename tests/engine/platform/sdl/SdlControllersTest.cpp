// A pad plugged into the real platform while it runs: SDL's virtual
// joystick stands in for the hardware, so plugging, pressing and unplugging
// go through SDL's own controller events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/platform/sdl/SdlPlatform.h"

namespace bd {
namespace {

std::vector<std::string> Keys(IEventSource& events) {
  std::vector<std::string> out;
  PlatformEvent e;
  // SDL turns the joystick's state into events as it pumps them.
  for (int round = 0; round < 5; ++round) {
    SDL_PumpEvents();
    while (events.Poll(e)) {
      if (e.type == PlatformEvent::Type::KeyDown)
        out.push_back("down " + std::to_string(e.Key) + ((e.Shift & ssCtrl) ? "+ctrl" : ""));
      else if (e.type == PlatformEvent::Type::KeyUp)
        out.push_back("up " + std::to_string(e.Key));
    }
  }
  return out;
}

TEST(SdlControllers, PluggedPadDrivesKeysUntilUnplugged) {
  // The offscreen window may never get the focus; the pad must still be heard.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  TSdlPlatform platform;
  IEventSource& events = *platform.Get().events;
  Keys(events);

  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                              SDL_CONTROLLER_BUTTON_MAX, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  ASSERT_TRUE(SDL_IsGameController(index));
  SDL_Joystick* stick = SDL_JoystickOpen(index);
  ASSERT_NE(stick, nullptr) << SDL_GetError();
  EXPECT_EQ(Keys(events), std::vector<std::string>{});  // plugging in alone presses nothing

  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_B, 1);
  EXPECT_EQ(Keys(events), std::vector<std::string>{"down 17+ctrl"});
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, -30000);
  EXPECT_EQ(Keys(events), std::vector<std::string>{"down 37+ctrl"});
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 1);
  EXPECT_EQ(Keys(events), std::vector<std::string>{"down 13+ctrl"});
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_B, 0);
  EXPECT_EQ(Keys(events), std::vector<std::string>{"up 17"});

  // Pulled out with A and the stick still held: both keys come back up.
  SDL_JoystickClose(stick);
  ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0) << SDL_GetError();
  EXPECT_EQ(Keys(events), (std::vector<std::string>{"up 37", "up 13"}));
}

}  // namespace
}  // namespace bd
