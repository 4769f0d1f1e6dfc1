// A pad plays the running game as the keyboard does: its buttons reach the
// form's key table and screen commands through the platform's key events.
#include <gtest/gtest.h>

#include "app/GameRun.h"
#include "engine/platform/Controller.h"

namespace bd::test {
namespace {

using PadCommands = GameRun;

TEST_F(PadCommands, ButtonsHoldKeysAndLeaveTheSplashAndMenu) {
  Start();
  RunFor(100);
  ASSERT_EQ(form->CurrentScreen, screen::Splash);
  platform.events.Pad(ControllerInput::Move(1, PadAxis::LeftX, -30000));
  RunFor(50);
  EXPECT_EQ(form->KeyDown[vk::Left], 1);
  platform.events.Pad(ControllerInput::Unplugged(1));
  RunFor(50);
  EXPECT_EQ(form->KeyDown[vk::Left], 0);

  platform.events.Pad(ControllerInput::Press(2, PadButton::A));
  platform.events.Pad(ControllerInput::Release(2, PadButton::A));
  RunFor(50);
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
  EXPECT_EQ(form->KeyDown[vk::Return], 0);

  // Off the race B is Escape: it asks on the menu and says "Нет" again.
  platform.events.Pad(ControllerInput::Press(2, PadButton::B));
  RunFor(50);
  EXPECT_TRUE(form->GameMainExit.Checked);
  EXPECT_EQ(form->KeyDown[vk::Control], 0);
  platform.events.Pad(ControllerInput::Release(2, PadButton::B));
  RunFor(50);
  EXPECT_EQ(form->KeyDown[vk::Escape], 0);
  platform.events.Pad(ControllerInput::Press(2, PadButton::B));
  platform.events.Pad(ControllerInput::Release(2, PadButton::B));
  RunFor(50);
  EXPECT_FALSE(form->GameMainExit.Checked);

  // In a race it holds Ctrl, the fire key.
  platform.events.Pad(ControllerInput::Press(2, PadButton::A));
  platform.events.Pad(ControllerInput::Release(2, PadButton::A));
  RunFor(50);
  ASSERT_EQ(form->CurrentScreen, screen::Race);
  platform.events.Pad(ControllerInput::Press(2, PadButton::B));
  RunFor(50);
  EXPECT_EQ(form->KeyDown[vk::Control], 1);
  EXPECT_FALSE(form->GameMainExit.Checked);
  platform.events.Pad(ControllerInput::Release(2, PadButton::B));
  RunFor(50);
  EXPECT_EQ(form->KeyDown[vk::Control], 0);
}

}  // namespace
}  // namespace bd::test
