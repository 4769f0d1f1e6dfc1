// Watching a recorded game on the replay screen: the watched race is the
// race itself, played from the recording at the chosen speed, held by the
// pause, left by Escape, and deaf to the player's race keys; it leaves the
// game's own race, its recording and the table as they were. The command
// line's recording file is played, or refused with a message.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/GameRun.h"
#include "codec/RecordingFormat.h"
#include "common/SampleRecording.h"
#include "engine/platform/Controller.h"
#include "race/RaceStateHash.h"
#include "race/RulesVersion.h"
#include "race/replay/RecordingDriver.h"
#include "race/replay/ReplayHost.h"

namespace bd::test {
namespace {

class Watching : public GameRun {
 protected:
  void SetUp() override {
    GameRun::SetUp();
    const std::filesystem::path run = BD_RUN_DIR;
    if (!std::filesystem::exists(run / "Data" / "GraphicsMain.dxg")) GTEST_SKIP() << "no built game data";
    // The built pictures: collisions go by their pixels.
    std::filesystem::remove_all(dir_ / "Data");
    std::filesystem::create_directory_symlink(run / "Data", dir_ / "Data");
  }

  // A plausible player's game under this game's rules.
  static TRecording Sample(uint32_t frames) {
    TRecording r = MakeSampleRecording(11, frames);
    r.RulesVersion = kRaceRulesVersion;
    return r;
  }

  // Starts the game on the main menu and watches `recording` from there.
  void WatchFromMenu(const TRecording& recording) {
    Start();
    form->SwitchScreen(screen::MainMenu);
    form->WatchRecording(recording, screen::MainMenu);
    ASSERT_EQ(form->CurrentScreen, screen::Replay);
  }

  uint32_t Played() const { return form->WatchedSession.FrameNumber(); }

  // Where a race stands once played: its fingerprint (the whole race state,
  // the clocks and the road's sprites), and the frames it took.
  struct TEnd {
    uint64_t Hash = 0;
    uint32_t Frames = 0;
    bool operator==(const TEnd&) const = default;
  };
  // The recording played to its end without a display, by the same driver.
  static TEnd PlayedHeadless(const TRecording& recording) {
    const TRaceImages images = TRaceImages::FromFile("Data/GraphicsMain.dxg");
    TReplayHost host(images);
    TRecordingDriver driver(recording, host, host.Session());
    driver.Start();
    while (!driver.Done()) driver.Step();
    return {RaceStateHash(host.RaceState(), host.Session().Clocks(), host.Engine()), driver.FramesPlayed()};
  }
  TEnd Watched() const {
    return {RaceStateHash(form->WatchedState, form->WatchedSession.Clocks(), form->SpriteEngine.Engine()),
            Played()};
  }

  // Drawn frames until the watched game is over or out of frames (at most
  // `limit`).
  int DrawnFramesToTheEnd(const TRecording& recording, int limit = 100000) {
    int drawn = 0;
    while (!form->WatchedSession.Over() && Played() < recording.FrameCount && drawn < limit) {
      RunFor(15);
      ++drawn;
    }
    return drawn;
  }
};

TEST_F(Watching, APlayedGameWatchedEndsAsItWasPlayed) {
  Start();
  form->SwitchScreen(screen::MainMenu);
  Press(vk::Return);
  ASSERT_EQ(form->CurrentScreen, screen::Race);
  // Straight on into whatever comes, until the last life is lost.
  platform.events.KeyDown(vk::Up);
  for (int i = 0; i < 20000 && form->CurrentScreen == screen::Race; ++i) RunFor(15);
  platform.events.KeyUp(vk::Up);
  ASSERT_EQ(form->CurrentScreen, screen::GameOver);
  const TRecording played = *form->LastRecording();
  const std::vector<uint64_t> playedHashes = form->RaceSession.LevelHashes();
  const TRaceState playedState = form->RaceState;
  form->SwitchScreen(screen::HighScores);
  const THighScoreTable table = form->HighScores;

  form->WatchRecording(played, screen::HighScores);
  ASSERT_EQ(form->CurrentScreen, screen::Replay);
  DrawnFramesToTheEnd(played);
  ASSERT_TRUE(form->WatchedSession.Over());
  EXPECT_TRUE(form->WatchedState.GameOver);
  EXPECT_EQ(form->WatchedState.Score, played.FinalScore);
  EXPECT_EQ(form->WatchedState.Level, played.FinalLevel);
  EXPECT_EQ(form->WatchedSession.Recording().FrameCount, played.FrameCount);
  EXPECT_EQ(form->WatchedSession.LevelHashes(), playedHashes);
  // The end stays on screen for a moment: no game-over screen, no table.
  RunFor(15 * 20);
  EXPECT_EQ(form->CurrentScreen, screen::Replay);
  RunFor(15 * 200);
  EXPECT_EQ(form->CurrentScreen, screen::HighScores);

  // The game's own race, its recording and the table are as they were.
  ASSERT_NE(form->LastRecording(), nullptr);
  EXPECT_EQ(*form->LastRecording(), played);
  EXPECT_EQ(form->RaceState.Score, playedState.Score);
  EXPECT_EQ(form->RaceState.Level, playedState.Level);
  EXPECT_EQ(form->HighScores, table);
  EXPECT_EQ(Reported(), "");
}

// Each drawn frame runs as many race frames as the speed says; the speed
// keys double and halve it between 1 and 8, from the keyboard or a pad.
TEST_F(Watching, SpeedKeysSetTheRaceFramesOfEachDrawnFrame) {
  struct Case {
    const char* name;
    std::vector<int> keys;
    uint32_t speed;
  };
  const Case cases[] = {
      {"as recorded", {}, 1},
      {"Right", {vk::Right}, 2},
      {"Up Up", {vk::Up, vk::Up}, 4},
      {"keypad + three times", {107, 107, 107}, 8},
      {"+ beyond the fastest", {187, 187, 187, 187, 187}, 8},
      {"faster, then Left", {vk::Right, vk::Right, vk::Right, vk::Left}, 4},
      {"Down and - at the slowest", {vk::Down, 189, 109}, 1},
  };
  const TRecording recording = Sample(4000);
  Start();
  form->SwitchScreen(screen::MainMenu);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form->WatchRecording(recording, screen::MainMenu);
    ASSERT_EQ(form->CurrentScreen, screen::Replay);
    for (int key : c.keys) Press(key);
    for (int i = 0; i < 20; ++i) RunFor(15);
    EXPECT_EQ(Played(), 20 * c.speed);
    Press(vk::Escape);
    ASSERT_EQ(form->CurrentScreen, screen::MainMenu);
  }
}

TEST_F(Watching, AtEightTimesTheWholeGameTakesAnEighthOfTheDrawnFrames) {
  const TRecording recording = Sample(2400);
  const TEnd headless = PlayedHeadless(recording);
  WatchFromMenu(recording);
  for (int i = 0; i < 3; ++i) Press(vk::Right);
  const int drawn = DrawnFramesToTheEnd(recording);
  EXPECT_NEAR(drawn, (headless.Frames + 7) / 8, 1);
  // Faster, and still the same race.
  EXPECT_EQ(Watched(), headless);
}

TEST_F(Watching, PauseHoldsTheRaceUntilPressedAgain) {
  struct Case {
    const char* name;
    int key;
    bool pad;
    PadButton button;
  };
  const Case cases[] = {
      {"P", 'P', false, {}},
      {"Space", vk::Space, false, {}},
      {"pad Start", 0, true, PadButton::Start},
      {"pad X", 0, true, PadButton::X},
  };
  const TRecording recording = Sample(4000);
  Start();
  form->SwitchScreen(screen::MainMenu);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form->WatchRecording(recording, screen::MainMenu);
    auto press = [&] {
      if (c.pad) {
        platform.events.Pad(ControllerInput::Press(1, c.button));
        platform.events.Pad(ControllerInput::Release(1, c.button));
      } else {
        platform.events.KeyDown(c.key);
        platform.events.KeyUp(c.key);
      }
    };
    for (int i = 0; i < 10; ++i) RunFor(15);
    press();
    RunFor(15);
    const uint32_t held = Played();
    for (int i = 0; i < 100; ++i) RunFor(15);
    EXPECT_EQ(Played(), held);
    EXPECT_EQ(form->CurrentScreen, screen::Replay);
    press();
    for (int i = 0; i < 10; ++i) RunFor(15);
    EXPECT_GT(Played(), held);
    Press(vk::Escape);
    ASSERT_EQ(form->CurrentScreen, screen::MainMenu);
  }
}

// Escape, a pad's B or Back, and the window's close button leave the replay
// in the middle, for the screen it came from.
TEST_F(Watching, LeavingGoesBackWhereTheReplayCameFrom) {
  struct Case {
    const char* name;
    uint8_t from;
    int how;  // 0: Escape, 1: pad B, 2: pad Back, 3: the close button
  };
  const Case cases[] = {
      {"Escape to the table", screen::HighScores, 0},
      {"Escape to the menu", screen::MainMenu, 0},
      {"pad B", screen::HighScores, 1},
      {"pad Back", screen::MainMenu, 2},
      {"close button", screen::HighScores, 3},
  };
  const TRecording recording = Sample(4000);
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form->SwitchScreen(c.from);
    form->WatchRecording(recording, c.from);
    for (int i = 0; i < 30; ++i) RunFor(15);
    ASSERT_EQ(form->CurrentScreen, screen::Replay);
    switch (c.how) {
      case 0:
        platform.events.KeyDown(vk::Escape);
        platform.events.KeyUp(vk::Escape);
        break;
      case 1:
      case 2: {
        const PadButton b = c.how == 1 ? PadButton::B : PadButton::Back;
        platform.events.Pad(ControllerInput::Press(1, b));
        platform.events.Pad(ControllerInput::Release(1, b));
        break;
      }
      default:
        platform.events.CloseRequest();
    }
    RunFor(15);
    EXPECT_EQ(form->CurrentScreen, c.from);
    EXPECT_FALSE(app->Terminated());
    EXPECT_FALSE(form->GameMainExit.Checked);
  }
  EXPECT_EQ(Reported(), "");
}

// The player steering, firing, stopping and holding the accelerator during
// the replay changes nothing in the watched race.
TEST_F(Watching, ThePlayersRaceKeysDoNotReachTheWatchedRace) {
  const TRecording recording = Sample(1500);
  const TEnd headless = PlayedHeadless(recording);
  WatchFromMenu(recording);
  // Left and Down at the slowest speed keep it at 1×.
  platform.events.KeyDown(vk::Left);
  platform.events.KeyDown(vk::Down);
  int frames = 0;
  while (!form->WatchedSession.Over() && Played() < recording.FrameCount && frames < 5000) {
    if (frames % 7 == 0) {
      platform.events.KeyDown(vk::Control, ssCtrl);
      platform.events.KeyUp(vk::Control, ssCtrl);
      platform.events.KeyDown(vk::Return);
      platform.events.KeyUp(vk::Return);
    }
    RunFor(15);
    ++frames;
  }
  EXPECT_EQ(Watched(), headless);
  EXPECT_EQ(frames, static_cast<int>(headless.Frames));
}

// The command line's recording file: a good one plays and then gives way to
// the main menu; one that cannot be played is refused with a message that
// says why, and the game goes to the main menu.
TEST_F(Watching, ARecordingFileIsPlayedOrRefusedWithItsReason) {
  struct Case {
    const char* name;
    std::string bytes;  // empty: no file at all
    const char* said;   // in the message; null: no message, the replay plays
  };
  TRecording good = Sample(300);
  TRecording foreign = good;
  foreign.RulesVersion = kRaceRulesVersion + 1;
  std::string damaged = EncodeRecording(good);
  damaged[damaged.size() / 2] ^= 0x5A;
  const Case cases[] = {
      {"good", EncodeRecording(good), nullptr},
      {"damaged", damaged, "повреждена"},
      {"cut short", EncodeRecording(good).substr(0, 40), "повреждена"},
      {"other rules", EncodeRecording(foreign), "другими правилами гонки"},
      {"not a recording", "Hello, world", "не запись гонки"},
      {"missing", "", "Такого файла нет"},
  };
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform.messageBox.Clear();
    form->SwitchScreen(screen::Splash);
    const std::string path = (dir_ / "game.bdrec").string();
    std::filesystem::remove(path);
    if (!c.bytes.empty()) std::ofstream(path, std::ios::binary) << c.bytes;
    form->WatchRecordingFile(path);
    if (c.said == nullptr) {
      EXPECT_EQ(Reported(), "");
      ASSERT_EQ(form->CurrentScreen, screen::Replay);
      for (int i = 0; i < 300 + 200 && form->CurrentScreen == screen::Replay; ++i) RunFor(15);
      EXPECT_EQ(form->WatchedSession.FrameNumber(), good.FrameCount);
    } else {
      EXPECT_NE(Reported().find(c.said), std::string::npos) << Reported();
      EXPECT_NE(Reported().find(path), std::string::npos) << "the message names the file";
    }
    EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
  }
}

TEST_F(Watching, ARecordingUnderOtherRulesFromTheGameIsRefused) {
  TRecording foreign = Sample(300);
  foreign.RulesVersion = kRaceRulesVersion + 1;
  Start();
  form->SwitchScreen(screen::HighScores);
  form->WatchRecording(foreign, screen::HighScores);
  EXPECT_EQ(form->CurrentScreen, screen::HighScores);
  EXPECT_NE(Reported().find("другими правилами гонки"), std::string::npos) << Reported();
}

TEST(CommandLine, TakesOnlyOneRecordingToWatch) {
  struct Case {
    std::vector<std::string> args;
    const char* file;  // null: none
    bool error;
  };
  const Case cases[] = {
      {{}, nullptr, false},
      {{"--replay", "a.bdrec"}, "a.bdrec", false},
      {{"--replay=/tmp/b c.bdrec"}, "/tmp/b c.bdrec", false},
      {{"--replay", "--odd-name"}, "--odd-name", false},
      {{"--replay"}, nullptr, true},
      {{"--replay="}, nullptr, true},
      {{"--replay", "a", "--replay", "b"}, nullptr, true},
      {{"a.bdrec"}, nullptr, true},
      {{"--help"}, nullptr, true},
      {{"--replay", "a", "extra"}, nullptr, true},
  };
  for (const Case& c : cases) {
    std::string joined;
    for (const auto& a : c.args) joined += a + " ";
    SCOPED_TRACE(joined);
    const TCommandLineParse parse = ParseCommandLine(c.args);
    EXPECT_EQ(!parse.Error.empty(), c.error) << parse.Error;
    if (!c.error) {
      ASSERT_EQ(parse.Line.ReplayFile.has_value(), c.file != nullptr);
      if (c.file != nullptr) {
        EXPECT_EQ(*parse.Line.ReplayFile, c.file);
      }
    }
  }
}

}  // namespace
}  // namespace bd::test
