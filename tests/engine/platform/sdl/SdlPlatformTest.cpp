#include <gtest/gtest.h>

#include <vector>

#include "codec/Cp1251.h"
#include "engine/display/DXDraw.h"
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
// a window manager that insists is not fought for ever; and however long
// the display took to come back before the game read the push.
TEST(SdlPlatform, WindowReturnsToItsPlaceAfterFullScreen) {
  TSdlPlatform platform;
  TSdlWindow& window = platform.Window();
  window.Show();
  SDL_SetWindowPosition(window.Sdl(), 114, 124);
  window.SavePlacement();
  window.RestorePlacement();
  // A display that starts slowly on a busy machine (sounds loading).
  SDL_Delay(2100);
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

uint32_t PixelAt(const SDL_Surface* s, int x, int y) {
  return static_cast<const uint32_t*>(
      s->pixels)[static_cast<size_t>(y) * static_cast<size_t>(s->pitch / 4) + static_cast<size_t>(x)];
}

// Without a graphics processor the picture is copied into the window's own
// frame buffer, each pixel duplicated, centred between black bars when the
// window is not 4:3; the pointer comes back in picture coordinates through
// the same geometry.
TEST(SdlPlatform, LargerWindowShowsThePictureScaledAndMapsThePointerBack) {
  TSdlPlatform platform;
  TSdlWindow& window = platform.Window();
  window.Show();
  ASSERT_FALSE(window.ScalesOnGpu());
  SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_XRGB8888);
  ASSERT_NE(picture, nullptr);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x)
      static_cast<uint32_t*>(
          picture->pixels)[static_cast<size_t>(y) * static_cast<size_t>(picture->pitch / 4) +
                           static_cast<size_t>(x)] = static_cast<uint32_t>(y << 10 | x) | 1u << 23;
  struct Case {
    int width, height;
    int left, top, scale;
  };
  const Case cases[] = {
      {1600, 1200, 0, 0, 2}, {2000, 1200, 200, 0, 2}, {2400, 2000, 0, 100, 3}, {800, 600, 0, 0, 1}};
  for (const Case& c : cases) {
    SDL_SetWindowSize(window.Sdl(), c.width, c.height);
    window.Present(picture, Bounds(0, 0, 800, 600), false);
    const SDL_Surface* shown = SDL_GetWindowSurface(window.Sdl());
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(shown->w, c.width);
    int wrong = 0;
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        const int px = (x - c.left) / c.scale, py = (y - c.top) / c.scale;
        const bool inside = x >= c.left && y >= c.top && px < 800 && py < 600;
        const uint32_t expected = inside ? static_cast<uint32_t>(py << 10 | px) | 1u << 23 : 0u;
        wrong += (PixelAt(shown, x, y) & 0xFFFFFFu) != expected;
      }
    }
    EXPECT_EQ(wrong, 0) << c.width << "x" << c.height;

    // A move onto the last window pixel of picture pixel (123, 45), and a
    // press on the first window pixel of (799, 599).
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = c.left + 123 * c.scale + c.scale - 1;
    e.motion.y = c.top + 45 * c.scale + c.scale - 1;
    SDL_PushEvent(&e);
    e = SDL_Event{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = c.left + 799 * c.scale;
    e.button.y = c.top + 599 * c.scale;
    SDL_PushEvent(&e);
    std::vector<PlatformEvent> pointer;
    PlatformEvent got;
    while (platform.Get().events->Poll(got))
      if (got.type == PlatformEvent::Type::MouseMove || got.type == PlatformEvent::Type::MouseDown)
        pointer.push_back(got);
    ASSERT_EQ(pointer.size(), 2u) << c.width << "x" << c.height;
    EXPECT_EQ(pointer[0].X, 123);
    EXPECT_EQ(pointer[0].Y, 45);
    EXPECT_EQ(pointer[1].X, 799);
    EXPECT_EQ(pointer[1].Y, 599);
  }
  SDL_FreeSurface(picture);
}

// A display switch moves the picture under a pointer that stays where it is;
// the move the window system reports then is not the player's and is not
// passed on. The next real move of the pointer is.
TEST(SdlPlatform, ADisplaySwitchUnderAStillPointerIsNoPointerMove) {
  TSdlPlatform platform;
  TSdlWindow& window = platform.Window();
  window.Show();
  IEventSource& events = *platform.Get().events;
  auto moves = [&events] {
    std::vector<PlatformEvent> got;
    PlatformEvent e;
    while (events.Poll(e))
      if (e.type == PlatformEvent::Type::MouseMove) got.push_back(e);
    return got;
  };
  SDL_WarpMouseInWindow(window.Sdl(), 100, 100);
  ASSERT_EQ(moves().size(), 1u);

  // The switch puts the window 20 pixels higher and further left: the
  // still pointer is then at (120, 120) in it.
  int left = 0, top = 0;
  SDL_GetWindowPosition(window.Sdl(), &left, &top);
  window.SetFullScreen(nullptr);
  SDL_SetWindowPosition(window.Sdl(), left - 20, top - 20);
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = SDL_GetWindowID(window.Sdl());
  e.motion.x = 120;
  e.motion.y = 120;
  SDL_PushEvent(&e);
  EXPECT_TRUE(moves().empty());

  SDL_WarpMouseInWindow(window.Sdl(), 300, 200);
  const std::vector<PlatformEvent> real = moves();
  ASSERT_EQ(real.size(), 1u);
  EXPECT_EQ(real[0].X, 300);
  EXPECT_EQ(real[0].Y, 200);
}

}  // namespace
}  // namespace bd
