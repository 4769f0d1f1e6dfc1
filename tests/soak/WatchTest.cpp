// The soak's watch on a running game: each kind of trouble it exists to
// catch is made to happen and must be reported, with what went wrong.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Watch.h"
#include "app/GameRun.h"
#include "engine/sprites/ImageSprite.h"

namespace bd::test {
namespace {

class SoakWatch : public GameRun {
 protected:
  // Starts the game, waits for the main menu and puts the watch on it.
  void StartWatching(const soak::TLimits& limits) {
    Start();
    RunFor(500);
    Press(vk::Return);
    ASSERT_EQ(form->CurrentScreen, screen::MainMenu);
    watch = std::make_unique<soak::TWatch>(limits);
    watch->Attach(platform, *app, *form);
  }
  // Runs the game frame by frame with the watch looking after each one, as
  // the soak does; returns the first failure, or "".
  std::string Watch(uint32_t ms) {
    for (uint32_t t = 0; t < ms; t += 15) {
      RunFor(15);
      played += 15;
      std::string failure = watch->Check(played, false);
      if (!failure.empty()) return failure;
    }
    return {};
  }
  void TearDown() override {
    if (watch) watch->Detach();
    GameRun::TearDown();
  }

  std::unique_ptr<soak::TWatch> watch;
  uint64_t played = 0;
};

TEST_F(SoakWatch, ReportsFramesThatStopComing) {
  soak::TLimits limits;
  limits.FrameStallMs = 1000;
  StartWatching(limits);
  EXPECT_EQ(Watch(3000), "");
  platform.window.LoseSurfaces(false);  // gone for good: no frame can be drawn
  EXPECT_NE(Watch(3000).find("no frame drawn"), std::string::npos);
}

TEST_F(SoakWatch, ReportsAGameThatStandsStill) {
  soak::TLimits limits;
  limits.StuckMs = 5000;
  StartWatching(limits);
  // The menu changes screens when the player acts; nobody does here.
  EXPECT_EQ(Watch(3000), "");
  Press(vk::Escape);  // the exit confirmation opens: that is a change
  EXPECT_EQ(Watch(4000), "");
  EXPECT_NE(Watch(3000).find("stuck"), std::string::npos);
}

TEST_F(SoakWatch, ReportsARaceThatStandsStillWithoutAVisibleReason) {
  StartWatching(soak::TLimits{});
  Press(vk::Return);
  // The level caption, a pause and a question all hold the race on purpose.
  EXPECT_EQ(Watch(2500), "");
  ASSERT_TRUE(form->RaceState.RaceRunning);
  Press('P');
  EXPECT_EQ(Watch(7000), "");
  Press('P');
  Press(vk::Escape);
  ASSERT_TRUE(form->GameMainExit.Checked);
  EXPECT_EQ(Watch(7000), "");
  // The question gone and the race still held: the trap a player cannot
  // get out of.
  form->GameMainExitClick();
  form->RaceState.RaceRunning = false;
  EXPECT_NE(Watch(7000).find("race has stood still"), std::string::npos);
}

TEST_F(SoakWatch, ReportsASpriteTreeBeyondItsBound) {
  soak::TLimits limits;
  limits.MaxSprites = 40;
  StartWatching(limits);
  EXPECT_EQ(Watch(300), "");
  const int menuSprites = soak::CountSprites(form->SpriteEngine.Engine());
  for (int i = menuSprites; i <= limits.MaxSprites; ++i) new TImageSprite(&form->SpriteEngine.Engine());
  EXPECT_NE(Watch(300).find("sprites in the tree"), std::string::npos);
}

TEST_F(SoakWatch, ReportsARestingHeapThatGrows) {
  soak::TLimits limits;
  limits.WarmupMs = 0;
  limits.HeapGrowthBytes = 4u << 20;
  StartWatching(limits);
  EXPECT_EQ(Watch(1500), "");  // the settled menu gives the first sample
  // Memory the game would keep after leaving a screen and coming back.
  std::vector<std::unique_ptr<std::vector<char>>> kept;
  for (int i = 0; i < 8; ++i) kept.push_back(std::make_unique<std::vector<char>>(1u << 20, 'x'));
  Press(vk::Escape);  // to the exit confirmation and back: the menu settles anew
  Press(vk::Escape);
  form->SwitchScreen(screen::Help);
  EXPECT_EQ(Watch(100), "");
  form->SwitchScreen(screen::MainMenu);
  EXPECT_NE(Watch(1500).find("resting heap grew"), std::string::npos);
  EXPECT_EQ(watch->Figures().RestSamples, 2);
}

}  // namespace
}  // namespace bd::test
