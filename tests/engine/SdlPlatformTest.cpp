#include <gtest/gtest.h>

#include "codec/Cp1251.h"
#include "engine/DXDraw.h"
#include "engine/platform/sdl/SdlPlatform.h"

namespace bd {
namespace {

// The real platform on SDL's offscreen video driver (the tests' environment
// selects it): the window, full screen and presentation work without a
// display, and the wait sleeps until its deadline.
TEST(SdlPlatform, RunsWithoutADisplay) {
  TSdlPlatform platform;
  TSdlWindow& window = platform.Window();
  window.SetCaption(W("Bumper Dash [Пауза]"));
  EXPECT_EQ(window.Caption(), W("Bumper Dash [Пауза]"));
  window.Show();
  EXPECT_TRUE(window.IsShown());

  TDXDraw draw(&window);
  draw.SetOptions({TDXDrawOption::doFullScreen, TDXDrawOption::doFlip});
  draw.SetDisplayWidth(800);
  draw.SetDisplayHeight(600);
  draw.SetDisplayBitCount(32);
  const std::vector<DisplayMode> modes = window.DisplayModes();
  ASSERT_FALSE(modes.empty());
  if (ChooseDisplayMode(draw.Display(), modes)) {
    draw.InitializeDisplay();
    EXPECT_TRUE(window.IsFullScreen());
    draw.FillSurface(0x00FF00);
    draw.PresentFrame();
  }
  draw.SetOptions({});
  draw.InitializeDisplay();
  EXPECT_FALSE(window.IsFullScreen());
  EXPECT_TRUE(draw.ReadyToDraw());
  draw.PresentFrame();
  for (PointerShape shape :
       {PointerShape::Hand, PointerShape::IBeam, PointerShape::Hidden, PointerShape::Arrow})
    window.SetPointer(shape);

  IClock& clock = *platform.Get().clock;
  IEventSource& events = *platform.Get().events;
  // Waiting ends early only for events; without them it ends at the deadline.
  PlatformEvent e;
  const uint32_t start = clock.Milliseconds();
  while (static_cast<int32_t>(clock.Milliseconds() - (start + 20)) < 0) {
    events.WaitUntil(start + 20);
    while (events.Poll(e)) {
    }
  }
  const uint32_t waited = clock.Milliseconds() - start;
  EXPECT_GE(waited, 20u);
  EXPECT_LT(waited, 200u);
}

// Back from full screen the window gets its frame again, and a window
// manager that keeps the frame's corner in place pushes the window down and
// right by the frame's size. That push is undone, a few times at most, so
// a window manager that insists is not fought for ever.
TEST(SdlPlatform, WindowReturnsToItsPlaceAfterFullScreen) {
  TSdlPlatform platform;
  TSdlWindow& window = platform.Window();
  window.Show();
  SDL_SetWindowPosition(window.Sdl(), 114, 124);
  window.SavePlacement();
  window.RestorePlacement();
  int x = 0, y = 0;
  for (int push = 1; push <= 4; ++push) {
    SDL_SetWindowPosition(window.Sdl(), 114 + push, 124 + 20 * push);
    window.Moved();
    SDL_GetWindowPosition(window.Sdl(), &x, &y);
    if (push <= 3) {
      EXPECT_EQ(x, 114) << "push " << push;
      EXPECT_EQ(y, 124) << "push " << push;
    }
  }
  EXPECT_EQ(x, 118);
  EXPECT_EQ(y, 204);
}

}  // namespace
}  // namespace bd
