// The race as the running game plays it: a new game, levels, lives, the
// hand-off to the game-over screen and the head-up display on the picture.
#include <gtest/gtest.h>

#include <functional>

#include "app/GameRun.h"
#include "engine/platform/Controller.h"
#include "engine/display/Fonts.h"
#include "engine/sprites/SpriteTree.h"
#include "race/PickupSprites.h"
#include "race/RaceFlow.h"
#include "race/RoadSprites.h"

namespace bd::test {
namespace {

class RaceForm : public GameRun {
 protected:
  void SetUp() override {
    GameRun::SetUp();
    Start();
    form->SwitchScreen(screen::MainMenu);
    Press(vk::Return);
    ASSERT_EQ(form->CurrentScreen, screen::Race);
  }
  TRaceState& S() { return form->RaceState; }
  // Pixels of the last shown picture inside the rectangle that are (nearly)
  // black, as only the display's texts are.
  int DarkPixels(const TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) {
        const uint32_t c = RawToColor(platform.window.Screen().Pixel(x, y));
        if ((c & 0xFF) < 0x40 && ((c >> 8) & 0xFF) < 0x40 && ((c >> 16) & 0xFF) < 0x40) ++n;
      }
    return n;
  }
};

TEST_F(RaceForm, NewGameShowsLevelOneForTwoSecondsThenRuns) {
  EXPECT_EQ(S().Level, 1);
  EXPECT_EQ(S().Lives, 3);
  EXPECT_EQ(S().Health, 100);
  EXPECT_EQ(S().LevelLength, 15000);
  EXPECT_EQ(S().Score, 0);
  EXPECT_EQ(PlayCount("viva"), 0);
  EXPECT_TRUE(form->RaceHost().LevelTimerEnabled());

  form->FormKeyDown(vk::Up, 0);  // held from the start
  RunFor(1950);
  EXPECT_FALSE(S().RaceRunning);
  EXPECT_EQ(S().Speed, 0);
  EXPECT_EQ(S().Distance, 0);
  EXPECT_GT(DarkPixels({340, 255, 460, 290}), 0);  // the level caption

  RunFor(1500);
  EXPECT_FALSE(form->RaceHost().LevelTimerEnabled());
  EXPECT_TRUE(S().RaceRunning);
  EXPECT_GT(S().Speed, 0);
  EXPECT_GT(S().Distance, 0);
  EXPECT_EQ(DarkPixels({340, 255, 460, 290}), 0);
  EXPECT_EQ(Reported(), "");
}

// The race's pictures take a while to load: the first frame of the race
// comes late, but the level caption still stands its two seconds.
class SlowRaceStart : public GameRun {};

TEST_F(SlowRaceStart, TheLevelCaptionStillLastsTwoSeconds) {
  Start();
  form->SwitchScreen(screen::MainMenu);
  RunFor(100);
  platform.clock.Advance(900);  // the loading, between the last menu frame and the race
  Press(vk::Return);
  ASSERT_EQ(form->CurrentScreen, screen::Race);
  RunFor(1950);
  EXPECT_TRUE(form->RaceHost().LevelTimerEnabled());
  EXPECT_FALSE(form->RaceState.RaceRunning);
  RunFor(100);
  EXPECT_FALSE(form->RaceHost().LevelTimerEnabled());
  EXPECT_TRUE(form->RaceState.RaceRunning);
}

TEST_F(RaceForm, FinishedLevelsLengthenScoreAndCheerButKeepTheLives) {
  struct Expected {
    int32_t level, length, score;
  };
  for (const Expected& next : {Expected{2, 18750, 50}, Expected{3, 23438, 150}}) {
    SCOPED_TRACE(next.level);
    RunFor(2100);  // the level caption
    ASSERT_TRUE(S().RaceRunning);
    S().Distance = S().LevelLength;
    RunFor(100);
    EXPECT_FALSE(S().RaceRunning);
    EXPECT_EQ(PlayCount("applaus"), next.level - 1);
    // The destination sign grows, then the level-complete clock takes 2.75 s.
    for (int frame = 0; frame < 1000 && S().Level < next.level; ++frame) RunFor(15);
    EXPECT_EQ(PlayCount("applaus"), next.level - 1);  // once per level
    EXPECT_EQ(S().Level, next.level);
    EXPECT_EQ(S().LevelLength, next.length);
    EXPECT_EQ(S().Score, next.score);
    EXPECT_EQ(S().Lives, 3);
    EXPECT_EQ(S().Distance, 0);
    EXPECT_EQ(PlayCount("viva"), next.level - 1);
    EXPECT_TRUE(form->RaceHost().LevelTimerEnabled());
  }
}

TEST_F(RaceForm, LostLifeKeepsTheDistanceAndDrivesOnAtOnce) {
  RunFor(2100);
  S().Distance = 5000;
  S().Health = 0;
  form->ByeByeMyCar();  // what a crash that leaves no health does
  EXPECT_EQ(S().Lives, 2);
  EXPECT_EQ(S().Health, 100);
  EXPECT_EQ(S().Distance, 5000);
  EXPECT_EQ(S().Level, 1);
  EXPECT_TRUE(S().RaceRunning);
  EXPECT_FALSE(form->RaceHost().LevelTimerEnabled());
  RunFor(100);
  EXPECT_EQ(form->CurrentScreen, screen::Race);
  EXPECT_EQ(S().Distance, 5000);  // the new car starts from a standstill
}

// Ends the car's life from inside the sprites' step, as a crash does.
class TCrash : public TSprite {
 public:
  TCrash(TSprite* parent, TMainForm& form) : TSprite(parent), form_(form) {}
  void Step(int32_t) override {
    Kill();
    form_.ByeByeMyCar();
  }

 private:
  TMainForm& form_;
};

TEST_F(RaceForm, LastLifeLostGoesToGameOverInTheSameFrame) {
  RunFor(2100);
  S().Lives = 1;
  S().Score = 50;  // not enough for the table
  new TCrash(&form->SpriteEngine.Engine(), *form);
  const uint64_t shown = platform.window.PresentCount();
  form->DXTimerTimer(1);
  EXPECT_EQ(platform.window.PresentCount(), shown + 1);
  EXPECT_EQ(form->CurrentScreen, screen::GameOver);
  EXPECT_EQ(S().Score, 50);
  // The game-over picture, without the race's texts over it.
  EXPECT_EQ(DarkPixels({0, 0, 800, 600}), 0);
  EXPECT_EQ(RawToColor(platform.window.Screen().Pixel(400, 300)), StandInColor("gameOver"));
  // Leaving the game-over screen clears the flag for the next race.
  RunFor(5100);
  Press(vk::Escape);
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
  EXPECT_FALSE(S().GameOver);
}

TEST_F(RaceForm, DisplayTextsStandInPlaceAndAreRenderedOnce) {
  RunFor(300);                                   // the caption is up, nothing changes during it
  EXPECT_GT(DarkPixels({678, 25, 710, 45}), 0);  // "15 X"
  EXPECT_EQ(DarkPixels({600, 25, 676, 45}), 0);
  const uint64_t rendered = TFontLibrary::Instance().RenderCount();
  RunFor(300);
  EXPECT_EQ(TFontLibrary::Instance().RenderCount(), rendered);

  S().Distance = S().LevelLength - 999;
  RunFor(30);
  EXPECT_GT(DarkPixels({602, 25, 640, 45}), 0);  // "Уже близко..."
  // It ends before the road's edge line, clear of the kerb and the sign.
  EXPECT_EQ(DarkPixels({686, 0, 800, 60}), 0);
}

TEST_F(RaceForm, EachPressOfTheStopKeySpendsOneCharge) {
  // A tenth of a second on the key is some seven frames, with the platform's
  // auto-repeat on the way: the car stops once and one charge is gone.
  struct Way {
    const char* what;
    std::function<void()> down, up;
  };
  const Way ways[] = {
      {"keyboard",
       [this] {
         platform.events.KeyDown(vk::Return);
         PlatformEvent repeat;
         repeat.type = PlatformEvent::Type::KeyDown;
         repeat.Key = vk::Return;
         repeat.Repeat = true;
         platform.events.PushAt(Now() + 50, repeat);
       },
       [this] { platform.events.KeyUp(vk::Return); }},
      {"pad", [this] { platform.events.Pad(ControllerInput::Press(1, PadButton::A)); },
       [this] { platform.events.Pad(ControllerInput::Release(1, PadButton::A)); }},
  };
  RunFor(2100);  // the level caption
  ASSERT_TRUE(S().RaceRunning);
  S().HasStopMe = true;
  S().StopMeCount = 5;
  int32_t left = 5;
  for (const Way& way : ways) {
    SCOPED_TRACE(way.what);
    for (int press = 0; press < 2; ++press) {
      S().Speed = 9;
      const int stops = PlayCount("ruchnik2");
      way.down();
      RunFor(105);
      EXPECT_EQ(S().Speed, 0);
      EXPECT_EQ(S().StopMeCount, --left);
      EXPECT_EQ(PlayCount("ruchnik2"), stops + 1);
      way.up();
      RunFor(45);
    }
  }
  EXPECT_EQ(S().StopMeCount, 1);
  EXPECT_TRUE(S().HasStopMe);

  // Enter that answers "Нет" to the exit question is the question's, even
  // when the race goes on before the key comes up.
  platform.events.KeyDown(vk::Escape);
  platform.events.KeyUp(vk::Escape);
  platform.events.KeyDown(vk::Left);
  platform.events.KeyUp(vk::Left);
  RunFor(50);
  ASSERT_TRUE(form->GameMainExit.Checked);
  S().Speed = 9;
  platform.events.KeyDown(vk::Return);
  RunFor(105);
  EXPECT_FALSE(form->GameMainExit.Checked);
  EXPECT_TRUE(S().RaceRunning);
  EXPECT_EQ(S().StopMeCount, 1);
  platform.events.KeyUp(vk::Return);
  RunFor(45);
}

TEST_F(RaceForm, NothingIsSpawnedWhileTheCarStandsStill) {
  // Frames in which a pickup or rubble stands on the road.
  auto framesWithSpawns = [this](int frames) {
    int seen = 0;
    for (int f = 0; f < frames; ++f) {
      RunFor(15);
      TSpriteEngine& engine = form->SpriteEngine.Engine();
      for (int32_t i = 0; i < engine.ChildCount(); ++i) {
        TSprite* child = engine.ChildAt(i);
        if (dynamic_cast<TPickupSprite*>(child) != nullptr ||
            dynamic_cast<TRocksMassovka*>(child) != nullptr) {
          ++seen;
          break;
        }
      }
    }
    return seen;
  };
  S().Lives = 1000;                      // crashes must not end this game
  EXPECT_EQ(framesWithSpawns(1200), 0);  // some seven draws would have hit
  form->FormKeyDown(vk::Up, 0);
  EXPECT_GT(framesWithSpawns(1200), 0);
  EXPECT_EQ(form->CurrentScreen, screen::Race);
}

TEST_F(RaceForm, HoldingTheRaceKeepsTheNitroForLater) {
  struct Case {
    const char* how;
    std::function<void()> hold, release;
  };
  auto tap = [this](int key) {
    platform.events.KeyDown(key);
    platform.events.KeyUp(key);
  };
  const Case cases[] = {
      {"pause", [&] { tap('P'); }, [&] { tap('P'); }},
      {"exit question", [&] { tap(vk::Escape); }, [&] { platform.events.CloseRequest(); }},
      {"another window in front", [&] { platform.events.Activate(false); }, [&] { platform.events.Activate(true); }},
  };
  S().Lives = 1000;  // crashes must not end this game
  RunFor(2100);
  ASSERT_TRUE(S().RaceRunning);
  for (const Case& c : cases) {
    // Crashes would end the nitro early.
    S().Health = 1'000'000;
    const int lives = S().Lives;
    // A nitro runs into the car and lasts five seconds of racing.
    auto* nitro = new TNitroSprite(form->RaceHost());
    nitro->X = S().CarX;
    nitro->Y = S().CarY;
    RunFor(500);
    ASSERT_TRUE(S().NitroOn) << c.how;
    c.hold();
    RunFor(10000);
    EXPECT_TRUE(S().NitroOn) << c.how;
    EXPECT_EQ(S().NitroSeconds, 0) << c.how;
    c.release();
    RunFor(4000);
    EXPECT_TRUE(S().NitroOn) << c.how;
    RunFor(1000);
    EXPECT_FALSE(S().NitroOn) << c.how;
    EXPECT_EQ(S().Lives, lives) << c.how;
  }
}

TEST_F(RaceForm, ReseedingWithoutANewClockValueContinuesTheSequence) {
  TRandom& random = form->Random;
  platform.clock.Advance(1);
  form->Randomize();
  const uint32_t seeded = random.Seed();
  EXPECT_EQ(seeded, static_cast<uint32_t>(platform.clock.HighResCounter()));
  random.Next(1000);
  form->Randomize();  // the same counter value: the draws go on
  TRandom replay(seeded);
  replay.Next(1000);
  EXPECT_EQ(random.Next(1000), replay.Next(1000));
  EXPECT_EQ(random.Seed(), replay.Seed());
  platform.clock.Advance(1);
  form->Randomize();
  EXPECT_EQ(random.Seed(), static_cast<uint32_t>(platform.clock.HighResCounter()));
}

}  // namespace
}  // namespace bd::test
