#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "engine/loop/Application.h"
#include "engine/display/DXDraw.h"
#include "engine/loop/DXTimer.h"
#include "engine/platform/headless/Headless.h"

namespace bd {
namespace {

TEST(Application, PlainTimersFireOnTheirIntervalAndRestartWhenEnabled) {
  THeadlessPlatform platform;
  TApplication app(platform.Get());
  std::vector<uint32_t> fired;
  TTimer timer(app, 100, [&] { fired.push_back(platform.clock.Milliseconds()); });
  app.RunUntil(500);
  EXPECT_TRUE(fired.empty());  // off until enabled

  timer.SetEnabled(true);  // at 500
  app.RunUntil(760);
  EXPECT_EQ(fired, (std::vector<uint32_t>{600, 700}));

  // Late: fires once and counts the next interval from then.
  platform.clock.Set(1000);
  app.RunOnce();
  app.RunUntil(1150);
  EXPECT_EQ(fired, (std::vector<uint32_t>{600, 700, 1000, 1100}));

  // A handler that disables its own timer stops it for good.
  timer.OnTimer = [&] {
    fired.push_back(platform.clock.Milliseconds());
    timer.SetEnabled(false);
  };
  app.RunUntil(2000);
  EXPECT_EQ(fired.back(), 1200u);
  EXPECT_FALSE(timer.Enabled());
}

TEST(Application, AHeldTimerKeepsTheTimeLeftToItsTick) {
  THeadlessPlatform platform;
  TApplication app(platform.Get());
  std::vector<uint32_t> fired;
  TTimer timer(app, 1000, [&] { fired.push_back(platform.clock.Milliseconds()); });
  timer.SetEnabled(true);  // due at 1000
  app.RunUntil(700);
  timer.SetHeld(true);  // 300 ms left
  app.RunUntil(5000);
  EXPECT_TRUE(fired.empty());
  EXPECT_TRUE(timer.Enabled());
  timer.SetHeld(false);
  app.RunUntil(6500);
  EXPECT_EQ(fired, (std::vector<uint32_t>{5300, 6300}));

  // Enabled while held: a whole interval waits for the letting go.
  timer.SetEnabled(false);
  timer.SetHeld(true);
  timer.SetEnabled(true);
  app.RunUntil(9000);
  timer.SetHeld(false);
  app.RunUntil(10100);
  EXPECT_EQ(fired.back(), 10000u);
}

TEST(Application, FramesRunOnTheVirtualClockAndReachTheWindow) {
  THeadlessPlatform platform;
  TApplication app(platform.Get());
  TDXDraw draw(&platform.window);
  TDXTimer timer(platform.clock);
  timer.SetInterval(15);
  app.AddFrameTimer(&timer);
  std::vector<uint32_t> frames;
  timer.OnTimer = [&](TDXTimer&, int) {
    if (!draw.ReadyToDraw()) return;
    frames.push_back(platform.clock.Milliseconds());
    // Each frame paints its number into the red channel.
    draw.FillSurface(ColorToRaw(static_cast<uint32_t>(frames.size())));
    draw.PresentFrame();
  };
  draw.InitializeDisplay();
  app.RunUntil(75);
  EXPECT_EQ(frames, (std::vector<uint32_t>{15, 30, 45, 60, 75}));
  EXPECT_EQ(RawToColor(platform.window.Screen().Pixel(400, 300)), 5u);
  EXPECT_EQ(platform.window.PresentCount(), 5u);

  // In the background nothing runs; back in front the frames resume.
  platform.events.Activate(false);
  platform.window.SetActive(false);
  app.RunUntil(1000);
  EXPECT_EQ(frames.size(), 5u);
  platform.events.Activate(true);
  platform.window.SetActive(true);
  app.RunUntil(1015);
  EXPECT_EQ(frames.back(), 1015u);
}

TEST(Application, AnEscapingErrorIsReportedAndTheLoopGoesOn) {
  THeadlessPlatform platform;
  TApplication app(platform.Get());
  app.Title = "Game";
  struct Thrower : IEventHandler {
    void HandleEvent(const PlatformEvent& e) override {
      if (e.type == PlatformEvent::Type::KeyDown) throw std::runtime_error("Image 'x' not found");
      ++handled;
    }
    int handled = 0;
  } handler;
  app.SetEventHandler(&handler);
  int ticks = 0;
  TTimer timer(app, 10, [&] {
    ++ticks;
    throw std::runtime_error("timer failed");
  });
  timer.SetEnabled(true);
  // A frame handler that fails on its first frame only.
  TDXTimer frameTimer(platform.clock);
  frameTimer.SetInterval(15);
  int frames = 0;
  frameTimer.OnTimer = [&](TDXTimer&, int) {
    if (++frames == 1) throw std::runtime_error("frame failed");
  };
  app.AddFrameTimer(&frameTimer);
  platform.events.KeyDown('A');
  platform.events.KeyUp('A');
  app.RunUntil(25);
  ASSERT_GE(platform.messageBox.Messages().size(), 4u);
  EXPECT_EQ(platform.messageBox.Messages()[0].title, "Game");
  EXPECT_EQ(platform.messageBox.Messages()[0].text, "Image 'x' not found");
  EXPECT_EQ(platform.messageBox.Messages()[1].text, "timer failed");
  EXPECT_EQ(platform.messageBox.Messages()[2].text, "frame failed");
  EXPECT_EQ(handler.handled, 1);  // the key-up after the failing key-down
  EXPECT_EQ(ticks, 2);
  app.RunUntil(60);
  EXPECT_EQ(frames, 4);  // frames go on after the failing one
  EXPECT_FALSE(app.Terminated());
}

}  // namespace
}  // namespace bd
