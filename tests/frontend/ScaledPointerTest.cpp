// The pointer over a window or screen larger than the picture: positions in
// the window's own pixels, taken back to the picture the way the platform
// does for every pointer event, act on the main menu exactly as at 1x.
#include <gtest/gtest.h>

#include <string>

#include "engine/platform/Presentation.h"
#include "frontend/FrontEndRun.h"
#include "frontend/FrontEndScreens.h"
#include "frontend/PointerRects.h"

namespace bd::test {
namespace {

using ScaledPointer = FrontEndRun;

constexpr TSize kPicture{800, 600};

// What a click on a menu item starts: a screen, the badge's web link or
// the exit confirmation.
enum class TStarts { Screen, Link, ExitConfirmation };

struct TMenuItem {
  const char* name;
  THitRect rect;
  const char* highlight;
  TStarts starts;
  uint8_t screen = 0;
};

const TMenuItem kMenuItems[] = {
    {"Start Game", hit::StartGame, "Start Game_d", TStarts::Screen, screen::Race},
    {"Options", hit::Options, "Options_d", TStarts::Screen, screen::Options},
    {"High Score", hit::HighScore, "High Score_d", TStarts::Screen, screen::HighScores},
    {"Help", hit::Help, "Help_d", TStarts::Screen, screen::Help},
    {"Visit Web Site", hit::VisitWebSite, "Visit Web Site_d", TStarts::Link},
    {"Exit", hit::Exit, "Exit_d", TStarts::ExitConfirmation},
};

// Outputs: the 2x and 3x windows, a 2560 x 1440 screen (2x between bars)
// and a 2560 x 1600 one whose picture is 2.67 times as large between bars.
const TSize kOutputs[] = {{1600, 1200}, {2400, 1800}, {2560, 1440}, {2560, 1600}};

TEST_F(ScaledPointer, ClickAtTheCentreOfEachMenuItemStartsIt) {
  for (TSize output : kOutputs) {
    const TRect place = FitPicture(output, kPicture);
    for (const TMenuItem& item : kMenuItems) {
      Go(screen::MainMenu);
      const size_t opened = platform.shell.Opened().size();
      // The item's centre in window pixels, as the player sees it.
      const int wx = place.Left + ((item.rect.Left + item.rect.Right + 1) * place.Width()) / (2 * 800);
      const int wy = place.Top + ((item.rect.Top + item.rect.Bottom + 1) * place.Height()) / (2 * 600);
      const TPoint p = OutputToPicture(wx, wy, place, kPicture);
      Move(p.X, p.Y);
      Click();
      const bool started = item.starts == TStarts::Screen ? form->CurrentScreen == item.screen
                           : item.starts == TStarts::Link ? platform.shell.Opened().size() > opened
                                                          : form->GameMainExit.Checked;
      EXPECT_TRUE(started) << item.name << " in " << output.Width << "x" << output.Height;
      if (form->GameMainExit.Checked) form->GameMainExitClick();
    }
  }
}

TEST_F(ScaledPointer, HoverAtTheEdgesOfEachMenuItemHighlightsAsAt1x) {
  auto highlighted = [this](const TMenuItem& item, TPoint at) {
    Go(screen::MainMenu);
    Move(300, 300);  // empty space first: no highlight left from before
    Move(at.X, at.Y);
    Frame();
    return Color(item.rect.Left + 8, item.rect.Top + 8) == StandInColor(item.highlight);
  };
  for (const TMenuItem& item : kMenuItems) {
    const THitRect& r = item.rect;
    const int midX = (r.Left + r.Right) / 2, midY = (r.Top + r.Bottom) / 2;
    // Each edge's pixel and the one just outside it.
    const TPoint edges[] = {{r.Left, midY},  {r.Left - 1, midY}, {r.Right, midY},  {r.Right + 1, midY},
                            {midX, r.Top},   {midX, r.Top - 1},  {midX, r.Bottom}, {midX, r.Bottom + 1}};
    for (TPoint edge : edges) {
      const bool at1x = highlighted(item, edge);
      EXPECT_EQ(at1x, r.Contains(edge.X, edge.Y)) << item.name << " at " << edge.X << "," << edge.Y;
      for (int k : {2, 3}) {
        const TRect place = Bounds(0, 0, 800 * k, 600 * k);
        // The first and the last window pixel of the picture pixel's block.
        for (int corner : {0, k - 1}) {
          const TPoint p = OutputToPicture(edge.X * k + corner, edge.Y * k + corner, place, kPicture);
          EXPECT_EQ(highlighted(item, p), at1x)
              << item.name << " at " << edge.X << "," << edge.Y << " at " << k << "x, corner " << corner;
        }
      }
    }
  }
}

}  // namespace
}  // namespace bd::test
