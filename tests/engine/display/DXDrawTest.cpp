#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/display/Canvas.h"
#include "codec/Cp1251.h"
#include "engine/display/DXDraw.h"
#include "engine/platform/headless/Headless.h"

namespace bd {
namespace {

using O = TDXDrawOption;
using N = TDXDrawNotifyType;

// Records every notification and event, tagged with who received it.
struct Recorder : IDXDrawListener {
  Recorder(std::vector<std::string>& log, std::string name) : log_(log), name_(std::move(name)) {}
  void DXDrawNotify(TDXDraw&, TDXDrawNotifyType type) override {
    log_.push_back(name_ + std::to_string(static_cast<int>(type)));
  }
  std::vector<std::string>& log_;
  std::string name_;
};

TDXDrawOptions GameOptions() {
  return {O::doAllowReboot, O::doWaitVBlank, O::doFlip, O::doDirectX7Mode, O::doRetainedMode, O::doHardware};
}

TEST(DXDraw, InitializeAndFinalizeNotifyLastRegisteredFirstWithEventsInBetween) {
  THeadlessWindow window;
  std::vector<std::string> log;
  Recorder a(log, "a"), b(log, "b");
  TDXDraw draw(&window);
  draw.AddListener(&a);
  draw.AddListener(&b);
  draw.OnInitializing = [&](TDXDraw&) { log.push_back("OnInitializing"); };
  draw.OnInitialize = [&](TDXDraw&) { log.push_back("OnInitialize"); };
  draw.OnInitializeSurface = [&](TDXDraw&) { log.push_back("OnInitializeSurface"); };
  draw.OnRestoreSurface = [&](TDXDraw&) { log.push_back("OnRestoreSurface"); };
  draw.OnFinalize = [&](TDXDraw&) { log.push_back("OnFinalize"); };
  draw.OnFinalizeSurface = [&](TDXDraw&) { log.push_back("OnFinalizeSurface"); };
  log.clear();

  draw.InitializeDisplay();
  EXPECT_EQ(log,
            (std::vector<std::string>{"OnInitializing", "b1", "a1", "b7", "a7", "b2", "a2", "OnInitialize",
                                      "b3", "a3", "OnInitializeSurface", "b6", "a6", "OnRestoreSurface"}));
  EXPECT_TRUE(draw.ReadyToDraw());
  ASSERT_NE(draw.BackBuffer(), nullptr);
  EXPECT_EQ(draw.BackBuffer()->Width(), 800);

  log.clear();
  draw.FinalizeDisplay();
  EXPECT_EQ(log, (std::vector<std::string>{"OnFinalizeSurface", "b5", "a5", "OnFinalize", "b4", "a4"}));
  EXPECT_FALSE(draw.ReadyToDraw());
  EXPECT_EQ(draw.BackBuffer(), nullptr);

  log.clear();
  draw.FinalizeDisplay();  // already down: nothing at all
  EXPECT_TRUE(log.empty());
}

TEST(DXDraw, ListenersJoiningOrLeavingAnUpDisplaySeeBalancedSequences) {
  THeadlessWindow window;
  std::vector<std::string> log;
  Recorder late(log, "x"), inner(log, "i");
  TDXDraw draw(&window);
  draw.InitializeDisplay();
  draw.AddListener(&late);
  EXPECT_EQ(log, (std::vector<std::string>{"x7", "x2", "x3", "x6"}));
  log.clear();
  draw.AddListener(&late);  // a repeated registration replaces the first
  draw.RemoveListener(&late);
  EXPECT_EQ(log, (std::vector<std::string>{"x7", "x2", "x3", "x6", "x5", "x4"}));
  log.clear();
  draw.FinalizeDisplay();
  EXPECT_TRUE(log.empty());

  // Joining from inside the display's own initialise event: the restore
  // comes from the initialisation itself, once.
  draw.OnInitialize = [&](TDXDraw& d) { d.AddListener(&inner); };
  draw.InitializeDisplay();
  EXPECT_EQ(log, (std::vector<std::string>{"i7", "i2", "i3", "i6"}));
}

TEST(DXDraw, ResizingTheBackBufferKeepsTheDisplayUp) {
  THeadlessWindow window;
  std::vector<std::string> log;
  Recorder a(log, "a");
  TDXDraw draw(&window);
  draw.InitializeDisplay();
  draw.AddListener(&a);
  log.clear();
  draw.SetSurfaceSize(400, 300);
  EXPECT_EQ(log, (std::vector<std::string>{"a5", "a3", "a7"}));
  EXPECT_TRUE(draw.Initialized());
  EXPECT_EQ(draw.BackBuffer()->Width(), 400);
  EXPECT_EQ(draw.SurfaceHeight(), 300);
  log.clear();
  draw.SetSurfaceSize(400, 300);  // unchanged: nothing
  EXPECT_TRUE(log.empty());
  // The size survives a finalisation; AutoSize takes the component's size at
  // the next initialisation.
  draw.FinalizeDisplay();
  EXPECT_EQ(draw.SurfaceWidth(), 400);
  draw.InitializeDisplay();
  EXPECT_EQ(draw.SurfaceWidth(), 800);
}

TEST(DXDraw, EffectiveOptions) {
  struct Case {
    TDXDrawOptions options;
    TDXDrawOptions expected;
  };
  const Case cases[] = {
      // The game's window: only the vertical-blank wait survives.
      {GameOptions(), {O::doWaitVBlank}},
      // The game's full screen.
      {[] {
         auto o = GameOptions();
         o.Include(O::doFullScreen);
         return o;
       }(),
       {O::doFullScreen, O::doAllowReboot, O::doWaitVBlank, O::doFlip}},
      // System memory excludes flipping even in full screen.
      {{O::doFullScreen, O::doFlip, O::doSystemMemory}, {O::doFullScreen, O::doSystemMemory}},
      // With 3-D the 3-D options stay.
      {{O::do3D, O::doZBuffer, O::doHardware, O::doCenter},
       {O::do3D, O::doZBuffer, O::doHardware, O::doCenter}},
  };
  for (const Case& c : cases) EXPECT_EQ(EffectiveOptions(c.options, false, {}).Bits(), c.expected.Bits());

  THeadlessWindow window;
  TDXDraw draw(&window);
  draw.SetOptions(GameOptions());
  draw.SetDisplayWidth(800);
  draw.SetDisplayHeight(600);
  draw.SetDisplayBitCount(32);
  draw.InitializeDisplay();
  // While up: the presentation options at once, full screen only later.
  auto o = GameOptions();
  o.Exclude(O::doWaitVBlank);
  o.Include(O::doStretch);
  o.Include(O::doFullScreen);
  draw.SetOptions(o);
  EXPECT_EQ(draw.ActiveOptions(), (TDXDrawOptions{O::doStretch}));
  draw.InitializeDisplay();
  EXPECT_EQ(draw.ActiveOptions(),
            (TDXDrawOptions{O::doFullScreen, O::doAllowReboot, O::doStretch, O::doFlip}));
  EXPECT_TRUE(window.IsFullScreen());
  EXPECT_EQ(window.FullScreenMode(), (DisplayMode{800, 600, 32}));
}

TEST(DXDraw, DisplayModeChoice) {
  const std::vector<DisplayMode> desktop = {{1920, 1080, 32}, {1024, 768, 16},  {1024, 768, 32},
                                            {1280, 1024, 32}, {1600, 1200, 32}, {640, 480, 32}};
  struct Case {
    TDXDrawDisplay request;
    std::vector<DisplayMode> modes;
    std::optional<DisplayMode> expected;
  };
  const TDXDrawDisplay game{800, 600, 32, true, true, false};
  const Case cases[] = {
      {game, {{640, 480, 32}, {800, 600, 16}, {800, 600, 32}}, DisplayMode{800, 600, 32}},
      // No 800 x 600: the smallest larger 4:3 mode with 32 bits.
      {game, desktop, DisplayMode{1024, 768, 32}},
      // No larger 4:3 mode: the smallest larger mode of any ratio.
      {game, {{1280, 1024, 32}, {1920, 1080, 32}, {640, 480, 32}}, DisplayMode{1280, 1024, 32}},
      // Nothing large enough, or nothing at 32 bits.
      {game, {{640, 480, 32}}, std::nullopt},
      {game, {{1024, 768, 16}}, std::nullopt},
      // Without a fixed bit count a deeper mode of the best size is taken,
      // but the requested depth wins when that size has it.
      {{800, 600, 16, false, true, false}, {{1024, 768, 32}, {1024, 768, 24}}, DisplayMode{1024, 768, 32}},
      {{800, 600, 16, false, true, false}, {{1024, 768, 32}, {1024, 768, 16}}, DisplayMode{1024, 768, 16}},
      // A mode of 8 bits or fewer needs at least the requested depth.
      {{800, 600, 16, false, true, false}, {{1024, 768, 8}}, std::nullopt},
      // Fixed size: only exactly 800 x 600.
      {{800, 600, 32, true, true, true}, {{1024, 768, 32}}, std::nullopt},
      // Invalid requests fail at once.
      {{0, 600, 32, true, true, false}, desktop, std::nullopt},
      {{800, 600, 15, true, true, false}, desktop, std::nullopt},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(ChooseDisplayMode(cases[i].request, cases[i].modes), cases[i].expected) << "case " << i;
  }
}

TEST(DXDraw, FullScreenFailuresReportAndLeaveTheDisplayDown) {
  THeadlessWindow window;
  window.SetDisplayModes({{640, 480, 32}});
  std::vector<std::string> log;
  Recorder a(log, "a");
  TDXDraw draw(&window);
  draw.AddListener(&a);
  log.clear();
  draw.SetDisplayWidth(800);
  draw.SetDisplayHeight(600);
  draw.SetDisplayBitCount(32);
  EXPECT_THROW(draw.SetDisplayBitCount(15), EDirectDrawError);
  EXPECT_EQ(draw.Display().BitCount, 32);
  auto o = GameOptions();
  o.Include(O::doFullScreen);
  draw.SetOptions(o);
  try {
    draw.InitializeDisplay();
    FAIL() << "no exception";
  } catch (const EDXDrawError& e) {
    EXPECT_STREQ(e.what(), "Display mode cannot be changed (800x600 32bit)");
  }
  EXPECT_FALSE(draw.Initialized());
  EXPECT_FALSE(draw.Busy());
  EXPECT_EQ(log, (std::vector<std::string>{"a1", "a5", "a4"}));

  TDXDraw orphan(nullptr);
  EXPECT_THROW(orphan.InitializeDisplay(), EDXDrawError);
}

TEST(DXDraw, LostSurfacesAreRestoredBeforeDrawing) {
  THeadlessWindow window;
  std::vector<std::string> log;
  Recorder a(log, "a");
  TDXDraw draw(&window);
  draw.InitializeDisplay();
  draw.AddListener(&a);
  draw.FillSurface(0xFFFFFF);
  log.clear();

  window.LoseSurfaces(false);
  EXPECT_FALSE(draw.ReadyToDraw());
  draw.PresentFrame();
  EXPECT_EQ(window.PresentCount(), 0u);
  EXPECT_TRUE(log.empty());

  window.LoseSurfaces(true);
  EXPECT_TRUE(draw.ReadyToDraw());
  EXPECT_EQ(log, (std::vector<std::string>{"a6"}));
  EXPECT_EQ(draw.BackBuffer()->Pixel(5, 5), 0u);  // restored surfaces start black
}

TEST(DXDraw, PresentPlacesTheBackBufferAndFlipsOnlyWhenActive) {
  THeadlessWindow window;
  TDXDraw draw(&window);
  draw.SetOptions(GameOptions());
  draw.InitializeDisplay();
  draw.SetSurfaceSize(400, 300);
  draw.FillSurface(ColorToRaw(0x0000FF));
  draw.PresentFrame();
  EXPECT_EQ(window.LastDest(), Bounds(0, 0, 400, 300));
  EXPECT_EQ(RawToColor(window.Screen().Pixel(10, 10)), 0x0000FFu);

  draw.SetOptions({O::doCenter});
  draw.PresentFrame();
  EXPECT_EQ(window.LastDest(), Bounds(200, 150, 400, 300));
  draw.SetOptions({O::doStretch});
  draw.PresentFrame();
  EXPECT_EQ(window.LastDest(), Bounds(0, 0, 800, 600));

  auto full = GameOptions();
  full.Include(O::doFullScreen);
  draw.SetOptions(full);
  draw.SetDisplayWidth(800);
  draw.SetDisplayHeight(600);
  draw.SetDisplayBitCount(32);
  draw.InitializeDisplay();
  const uint64_t before = window.PresentCount();
  window.SetActive(false);
  draw.PresentFrame();
  EXPECT_EQ(window.PresentCount(), before);
  window.SetActive(true);
  draw.PresentFrame();
  EXPECT_EQ(window.PresentCount(), before + 1);
  draw.SetSurfaceSize(640, 480);  // the mode fixes the size in full screen
  EXPECT_EQ(draw.SurfaceWidth(), 800);
}

TEST(Canvas, FontsResolveThroughTheAliases) {
  TFontLibrary& fonts = TFontLibrary::Instance();
  EXPECT_NE(fonts.ResolveFile("Arial Cyr", 0).find("LiberationSans"), std::string::npos);
  EXPECT_NE(fonts.ResolveFile("Arial", fsBold).find("LiberationSans-Bold"), std::string::npos);
  EXPECT_NE(fonts.ResolveFile("Verdana", 0).find("DejaVuSans"), std::string::npos);
  // A face nobody has still gets a font to draw with.
  EXPECT_NE(fonts.Font("No Such Face Anywhere", 12, 0), nullptr);
}

TEST(Canvas, TextIsDrawnMeasuredAndCached) {
  TDirectDrawSurface surface(200, 60);
  TCanvas& canvas = surface.Canvas();
  canvas.Font.Name = "Arial Cyr";
  canvas.Font.Size = 20;
  canvas.Font.Color = 0x0000FF;  // red
  canvas.Brush.Style = TBrushStyle::bsClear;
  const std::string text = W("Пауза");

  // 20 points at 96 dpi is about 27 pixels of em height.
  EXPECT_GE(canvas.TextHeight(text), 26);
  EXPECT_LE(canvas.TextHeight(text), 34);
  EXPECT_GT(canvas.TextWidth(text), canvas.TextWidth(W("Па")));
  EXPECT_EQ(canvas.TextWidth(""), 0);

  const uint64_t rendered = TFontLibrary::Instance().RenderCount();
  canvas.TextOut(0, 0, text);
  canvas.TextOut(0, 0, text);
  EXPECT_EQ(TFontLibrary::Instance().RenderCount(), rendered + 1);

  int red = 0, other = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x) {
      const uint32_t c = RawToColor(surface.Pixel(x, y));
      if (c == 0x0000FF)
        ++red;
      else if (c != 0 && (c & 0xFFFF00) != 0)
        ++other;
    }
  EXPECT_GT(red, 50);
  EXPECT_EQ(other, 0);  // only shades of red on black: the clear brush left the background
  EXPECT_EQ(surface.Pixel(199, 59), 0u);

  // A solid brush fills the text cell behind the letters.
  canvas.Brush.Style = TBrushStyle::bsSolid;
  canvas.Brush.Color = 0x00FF00;
  canvas.TextOut(100, 0, W("а"));
  EXPECT_EQ(RawToColor(surface.Pixel(100, 1)), 0x00FF00u);

  canvas.FillRect(TRect{10, 50, 20, 55});
  EXPECT_EQ(RawToColor(surface.Pixel(10, 50)), 0x00FF00u);
  EXPECT_EQ(RawToColor(surface.Pixel(19, 54)), 0x00FF00u);
  EXPECT_NE(RawToColor(surface.Pixel(20, 54)), 0x00FF00u);
}

}  // namespace
}  // namespace bd
