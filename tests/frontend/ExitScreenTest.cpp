#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/GameRun.h"
#include "engine/images/Dib.h"
#include "engine/images/Jpeg.h"
#include "common/JpegWriter.h"
#include "engine/display/Surface.h"
#include "support/SpoiltFiles.h"

namespace bd {
namespace {

namespace fs = std::filesystem;

// Colours (0x00BBGGRR) of the pictures of the test exit screen.
constexpr uint32_t kBackdrop = 0x00800000;
constexpr uint32_t kLinkNormal = 0x0000C000;
constexpr uint32_t kLinkHover = 0x0000C0C0;
constexpr uint32_t kExitNormal = 0x00C0C000;
constexpr uint32_t kExitHover = 0x00C000C0;
constexpr uint32_t kExitDisabled = 0x00808080;
constexpr uint32_t kDigits = 0x000000FF;  // the countdown's red

// Where the test screen puts things: the link button's hover image at
// (10, 10), its rectangle at (20, 20) 40 x 20; the exit button's hover image
// at (300, 400), its rectangle at (310, 410) 40 x 20, its disabled image at
// (320, 420); the countdown centred on (400, 200).
constexpr int kLinkX = 20, kLinkY = 20;
constexpr int kExitX = 310, kExitY = 410;
constexpr int kDigitsX = 400, kDigitsY = 200;

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TPixels Plain(int32_t width, int32_t height, uint32_t color) {
  return TPixels{width, height, std::vector<uint32_t>(static_cast<size_t>(width * height), color)};
}

class ExitScreenRun : public test::GameRun {
 protected:
  // A JPEG backdrop, bitmap buttons, a link to an HTML page, and a countdown
  // of `seconds` in large red digits.
  void WriteExitScreen(int seconds) {
    fs::create_directories("pdata");
    WriteBytes("pdata/back.jpg", EncodeJpeg(Plain(800, 600, kBackdrop), 95));
    WriteBytes("pdata/ln.bmp", EncodeBmpFile(Plain(40, 20, kLinkNormal)));
    WriteBytes("pdata/lh.bmp", EncodeBmpFile(Plain(60, 30, kLinkHover)));
    WriteBytes("pdata/en.bmp", EncodeBmpFile(Plain(40, 20, kExitNormal)));
    WriteBytes("pdata/eh.bmp", EncodeBmpFile(Plain(60, 30, kExitHover)));
    WriteBytes("pdata/ed.bmp", EncodeBmpFile(Plain(40, 20, kExitDisabled)));
    std::ofstream("pdata/page.html") << "<p>more</p>\n";
    std::ofstream("pdata/config.ini", std::ios::binary)
        << "2\r\npdata\\back.jpg\r\n"
        << "10 10 60 30\r\n20 20 40 20\r\npdata\\ln.bmp\r\npdata\\lh.bmp\r\npdata\\page.html\r\n"
        << "300 400 60 30\r\n310 410 40 20\r\n320 420 40 "
           "20\r\npdata\\en.bmp\r\npdata\\eh.bmp\r\npdata\\ed.bmp\r\n"
        << "400 200\r\n"
        << seconds << "\r\n255 0 0\r\nTRUE\r\n40\r\n";
  }

  // The player confirmed leaving: the exit screen is built.
  void Leave() { form->SwitchScreen(screen::Exit); }

  void PointAt(int x, int y) {
    platform.events.MouseMove(x, y);
    x_ = x;
    y_ = y;
  }
  // A press where the pointer is, handled at once.
  void Click(int button = 1) {
    platform.events.MouseDown(x_, y_, button);
    RunFor(1);
  }

  int x_ = -1, y_ = -1;

  uint32_t Shown(int x, int y) const { return platform.window.Screen().Pixel(x, y); }

  // Whether the countdown's red shows anywhere around its centre.
  bool DigitsShown() const {
    for (int y = kDigitsY - 30; y <= kDigitsY + 30; ++y)
      for (int x = kDigitsX - 40; x <= kDigitsX + 40; ++x) {
        const uint32_t c = RawToColor(Shown(x, y));
        if ((c & 0xFF) > 0xC0 && ((c >> 8) & 0xFF) < 0x40 && ((c >> 16) & 0xFF) < 0x40) return true;
      }
    return false;
  }
};

TEST_F(ExitScreenRun, CountdownShowsWholeSecondsLeftCountedUpAndStopsAtZero) {
  WriteExitScreen(5);
  Start();
  ASSERT_TRUE(form->ShareScreen.Enabled) << Reported();
  Leave();
  EXPECT_EQ(platform.window.Pointer(), PointerShape::Arrow);
  const uint32_t shown = Now();
  struct Moment {
    uint32_t ms;  // since the screen was shown; mid-tick, so the last frame agrees
    const char* text;
  };
  for (const Moment& m : {Moment{50, "6"}, Moment{150, "5"}, Moment{1150, "4"}, Moment{2150, "3"},
                          Moment{3150, "2"}, Moment{4950, "1"}, Moment{5050, ""}, Moment{9050, ""}}) {
    app->RunUntil(shown + m.ms);
    SCOPED_TRACE(m.ms);
    EXPECT_EQ(form->ShareScreen.CountdownText(), m.text);
    EXPECT_EQ(DigitsShown(), *m.text != '\0');
  }
  // The JPEG backdrop, within what its compression changes.
  const uint32_t backdrop = RawToColor(Shown(700, 100));
  for (int shift : {0, 8, 16})
    EXPECT_NEAR(static_cast<int>((backdrop >> shift) & 0xFF), static_cast<int>((kBackdrop >> shift) & 0xFF),
                4)
        << std::hex << backdrop;
  EXPECT_FALSE(app->Terminated());
}

TEST_F(ExitScreenRun, ExitButtonIsDisabledUntilTheCountdownEndsThenClosesTheGame) {
  std::ofstream("play.url") << "[InternetShortcut]\r\nURL=http://127.0.0.1/play\r\n";
  WriteExitScreen(5);
  Start();
  Leave();
  PointAt(kExitX + 20, kExitY + 10);
  RunFor(100);
  EXPECT_EQ(Shown(320, 420), ColorToRaw(kExitDisabled));
  Click();
  platform.events.CloseRequest();
  RunFor(100);
  EXPECT_FALSE(app->Terminated());
  EXPECT_EQ(form->CurrentScreen, screen::Exit);

  RunFor(4850);  // 5.05 s after the screen was shown
  EXPECT_EQ(Shown(300, 400), ColorToRaw(kExitHover));
  PointAt(600, 300);
  RunFor(30);
  EXPECT_EQ(Shown(kExitX, kExitY), ColorToRaw(kExitNormal));
  EXPECT_FALSE(app->Terminated());

  PointAt(kExitX + 40, kExitY + 20);  // the rectangle's far corner counts
  RunFor(30);
  Click();
  EXPECT_TRUE(app->Terminated());
  // Closing went the ordinary way out.
  EXPECT_EQ(platform.shell.Opened(), std::vector<std::string>{"http://127.0.0.1/play"});
}

TEST_F(ExitScreenRun, ZeroSecondCountdownShowsNoNumberAndLetsThePlayerOutAtOnce) {
  WriteExitScreen(0);
  Start();
  Leave();
  PointAt(kExitX + 1, kExitY + 1);
  RunFor(50);
  EXPECT_FALSE(DigitsShown());
  Click();
  EXPECT_TRUE(app->Terminated());
}

TEST_F(ExitScreenRun, LinkButtonOpensItsFileDuringTheCountdown) {
  WriteExitScreen(5);
  Start();
  Leave();
  RunFor(50);
  EXPECT_EQ(Shown(kLinkX, kLinkY), ColorToRaw(kLinkNormal));
  Click();  // the pointer is over no button
  EXPECT_TRUE(platform.shell.Opened().empty());

  PointAt(kLinkX, kLinkY);
  RunFor(30);
  EXPECT_EQ(Shown(10, 10), ColorToRaw(kLinkHover));
  Click(3);  // only the left button works here
  EXPECT_TRUE(platform.shell.Opened().empty());
  Click();
  EXPECT_EQ(platform.shell.Opened(), std::vector<std::string>{"pdata/page.html"});
  EXPECT_FALSE(app->Terminated());
}

TEST_F(ExitScreenRun, HoverAndClicksFollowTheWindowsOwnPointerEvents) {
  WriteExitScreen(0);
  Start();
  Leave();
  PointAt(kLinkX, kLinkY);
  RunFor(30);
  EXPECT_EQ(Shown(10, 10), ColorToRaw(kLinkHover));
  // An absolute jump (a remote desktop, a tablet): the hover follows the
  // window's move event at once.
  PointAt(kExitX + 5, kExitY + 5);
  RunFor(30);
  EXPECT_EQ(Shown(kLinkX, kLinkY), ColorToRaw(kLinkNormal));
  EXPECT_EQ(Shown(300, 400), ColorToRaw(kExitHover));
  // The pointer leaves the window: nothing is under it any more.
  platform.events.PointerLeave();
  RunFor(30);
  EXPECT_EQ(Shown(kExitX, kExitY), ColorToRaw(kExitNormal));
  // A press where no move came first acts where it was pressed.
  platform.events.MouseDown(kExitX + 5, kExitY + 5);
  RunFor(1);
  EXPECT_TRUE(app->Terminated());
  for (const std::string& opened : platform.shell.Opened()) EXPECT_NE(opened, "pdata/page.html");
}

TEST_F(ExitScreenRun, TheKeysFocusTheButtonsAndEscapeLeavesOnceTheCountdownAllows) {
  WriteExitScreen(2);
  Start();
  Leave();
  auto tap = [this](int key) {
    platform.events.KeyDown(key);
    platform.events.KeyUp(key);
    RunFor(30);
  };
  tap(vk::Down);  // the top button first: the link
  EXPECT_EQ(Shown(10, 10), ColorToRaw(kLinkHover));
  tap(vk::Return);
  EXPECT_EQ(platform.shell.Opened(), std::vector<std::string>{"pdata/page.html"});
  EXPECT_EQ(Shown(10, 10), ColorToRaw(kLinkHover));  // the focus stays
  tap(vk::Down);
  EXPECT_EQ(Shown(kLinkX, kLinkY), ColorToRaw(kLinkNormal));
  tap(vk::Return);  // the exit button, still counting down
  tap(vk::Escape);
  EXPECT_FALSE(app->Terminated());

  // The pointer moved last shows its hover; the keys take over again.
  PointAt(kLinkX, kLinkY);
  RunFor(2100);
  EXPECT_EQ(Shown(10, 10), ColorToRaw(kLinkHover));
  tap(vk::Up);  // backwards from nothing: the exit button
  EXPECT_EQ(Shown(kLinkX, kLinkY), ColorToRaw(kLinkNormal));
  EXPECT_EQ(Shown(300, 400), ColorToRaw(kExitHover));
  tap(vk::Escape);
  EXPECT_TRUE(app->Terminated());
}

TEST_F(ExitScreenRun, WithoutAUsableExitScreenTheGameClosesAtOnce) {
  struct Case {
    std::string name;
    std::function<void()> spoil;
  };
  std::vector<Case> cases = {
      {"a count that is no number", [] { std::ofstream("pdata/config.ini") << "two\r\n"; }},
      // Three buttons claimed, two described: the exit button's lines are
      // read as a third link, whose image path is a line of numbers.
      {"more buttons than described",
       [] {
         std::fstream f("pdata/config.ini", std::ios::in | std::ios::out | std::ios::binary);
         f.put('3');
       }},
      // The file is there, so the description reads well; the picture is no picture.
      {"a backdrop that is not a picture", [] { std::ofstream("pdata/back.jpg") << "not a picture"; }},
      {"a button image cut short", [] { fs::resize_file("pdata/eh.bmp", 30); }},
  };
  // Missing, empty, cut, garbled, or a folder or a pipe in its place.
  for (const test::TSpoil& spoil : test::CommonSpoils())
    cases.push_back({std::string("description ") + spoil.What, [spoil] { spoil.Apply("pdata/config.ini"); }});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all("pdata");  // the last case may have left a folder or a pipe
    WriteExitScreen(5);
    c.spoil();
    platform.shell = THeadlessShell{};
    Start();
    EXPECT_TRUE(platform.messageBox.Messages().empty()) << Reported();
    EXPECT_EQ(form->CurrentScreen, screen::Splash);
    EXPECT_FALSE(form->ShareScreen.Enabled);
    Leave();
    EXPECT_TRUE(app->Terminated());
    form.reset();
    app.reset();
  }
}

TEST_F(ExitScreenRun, SampleExitScreenOfTheAssetBuilderWorks) {
  const fs::path sample = fs::path(BD_RUN_DIR) / "pdata";
  ASSERT_TRUE(fs::exists(sample / "config.ini")) << sample;
  fs::copy(sample, "pdata", fs::copy_options::recursive);
  Start();
  ASSERT_TRUE(form->ShareScreen.Enabled);
  ASSERT_GE(form->ShareScreen.Buttons.size(), 2u);
  const TButton_2& link = form->ShareScreen.Buttons.front();
  const TButton_2& exit = form->ShareScreen.Buttons.back();
  ASSERT_TRUE(exit.IsExit());
  // The player leaves from the main menu: the Exit item, then Yes.
  form->SwitchScreen(screen::MainMenu);
  PointAt(600, 490);
  Click();
  PointAt(300, 360);
  Click();
  ASSERT_EQ(form->CurrentScreen, screen::Exit);

  PointAt(link.X + link.Width / 2, link.Y + link.Height / 2);
  RunFor(50);
  Click();
  ASSERT_EQ(platform.shell.Opened().size(), 1u);
  EXPECT_EQ(platform.shell.Opened()[0], link.Command);

  PointAt(exit.X + exit.Width / 2, exit.Y + exit.Height / 2);
  RunFor(50);
  Click();
  EXPECT_FALSE(app->Terminated());
  RunFor(static_cast<uint32_t>(form->ShareScreen.Countdown) * 100 + 50);
  Click();
  EXPECT_TRUE(app->Terminated());
}

}  // namespace
}  // namespace bd
