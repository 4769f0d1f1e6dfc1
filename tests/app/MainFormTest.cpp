#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/MainForm.h"
#include "app/Version.h"
#include "codec/Cp1251.h"
#include "engine/platform/headless/Headless.h"
#include "support/GameData.h"

namespace bd {
namespace {

// The game on the headless platform, started in an empty directory (so
// without its data files).
class MainFormRun : public ::testing::Test {
 protected:
  void SetUp() override {
    oldDir_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() /
           ("bd-mainform-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
    app = std::make_unique<TApplication>(platform.Get());
    app->Title = kGameTitle;
    form = std::make_unique<TMainForm>(*app);
  }
  void TearDown() override {
    form.reset();
    app.reset();
    std::filesystem::current_path(oldDir_);
    std::filesystem::remove_all(dir_);
  }
  uint32_t Now() { return platform.clock.Milliseconds(); }
  // The data arrives after the failed start-up: screens can be built now.
  void ProvideData() {
    test::WriteStandInGameData(dir_);
    form->LoadGraphics(GraphicsMenuPath);
  }

  THeadlessPlatform platform;
  std::unique_ptr<TApplication> app;
  std::unique_ptr<TMainForm> form;

 private:
  std::filesystem::path oldDir_;
  std::filesystem::path dir_;
};

TEST_F(MainFormRun, MissingMenuGraphicsAreReportedAndTheGameStillRuns) {
  ASSERT_EQ(platform.messageBox.Messages().size(), 1u);
  EXPECT_EQ(platform.messageBox.Messages()[0].title, "Bumper Dash");
  EXPECT_NE(platform.messageBox.Messages()[0].text.find("Data/GraphicsMenu.dxg"), std::string::npos);
  // The steps before the failing one were done, the later ones skipped.
  EXPECT_EQ(form->TextFont, "Arial Cyr");
  EXPECT_EQ(platform.window.Pointer(), PointerShape::Hidden);
  EXPECT_EQ(form->CurrentScreen, screen::None);

  form->Show();
  EXPECT_TRUE(form->DXDraw.Initialized());
  EXPECT_TRUE(form->DXTimer.Enabled());
  EXPECT_EQ(platform.window.Caption(), "Bumper Dash");
  ProvideData();
  form->SwitchScreen(screen::HighScores);
  form->DXDraw.FillSurface(ColorToRaw(0x00FFFFFF));
  app->RunUntil(Now() + 30);
  EXPECT_GE(platform.window.PresentCount(), 2u);
  // The frame was drawn again over the white.
  EXPECT_NE(platform.window.Screen().Pixel(400, 300), ColorToRaw(0x00FFFFFF));
}

TEST_F(MainFormRun, InactiveGameFreezesAndShowsThePausedCaption) {
  form->Show();
  app->RunUntil(Now() + 100);
  const uint64_t presented = platform.window.PresentCount();
  EXPECT_GT(presented, 0u);

  platform.events.Activate(false);
  platform.window.SetActive(false);
  app->RunUntil(Now() + 500);
  EXPECT_EQ(platform.window.Caption(), W("Bumper Dash [Пауза]"));
  EXPECT_EQ(platform.window.PresentCount(), presented);

  platform.events.Activate(true);
  platform.window.SetActive(true);
  app->RunUntil(Now() + 100);
  EXPECT_EQ(platform.window.Caption(), "Bumper Dash");
  EXPECT_GT(platform.window.PresentCount(), presented);
}

TEST_F(MainFormRun, AFailedStartUpCanStillBeClosed) {
  form->Show();
  platform.events.CloseRequest();
  app->RunUntil(Now() + 20);
  EXPECT_TRUE(app->Terminated());
}

TEST_F(MainFormRun, MaximisingSwitchesToFullScreenOnTheNextFrame) {
  form->Show();
  platform.window.SetState(WindowState::Maximized);
  PlatformEvent resized;
  resized.type = PlatformEvent::Type::Resized;
  platform.events.Push(resized);
  app->RunUntil(Now() + 40);
  EXPECT_TRUE(form->GameFullScreen.Checked);
  EXPECT_TRUE(platform.window.IsFullScreen());
  EXPECT_TRUE(platform.window.Borderless());
  EXPECT_EQ(platform.window.FullScreenMode(), (DisplayMode{800, 600, 32}));
  EXPECT_TRUE(form->DXTimer.Enabled());  // the display came up again

  form->GameFullScreenClick();
  EXPECT_FALSE(platform.window.IsFullScreen());
  EXPECT_FALSE(platform.window.Borderless());
  EXPECT_EQ(platform.window.State(), WindowState::Normal);
  EXPECT_EQ(platform.window.PlacementSaves(), 1);
  EXPECT_EQ(platform.window.PlacementRestores(), 1);
}

}  // namespace
}  // namespace bd
