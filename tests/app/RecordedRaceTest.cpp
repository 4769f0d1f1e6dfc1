// Games played on the running game, with the keys, the pause, the exit
// question, the focus and late frames, are recorded as they are played; the
// headless replay of each recording ends exactly as the game did.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "app/GameRun.h"
#include "frontend/PointerRects.h"
#include "race/CarSprites.h"
#include "race/MeteorSprites.h"
#include "race/RoadSprites.h"
#include "race/replay/Replay.h"

namespace bd::test {
namespace {

// What a scripted game does besides driving, and when (in race frames).
struct TGameScript {
  const char* Name;
  bool Careful;             // steers round obstacles, or drives straight on
  uint32_t PauseAt;         // P, and P again a second later (0: never)
  uint32_t AskAt;           // Escape, then Escape again ("Нет") (0: never)
  uint32_t FocusLostAt;     // another window in front for a while (0: never)
  uint32_t LateFramesFrom;  // every 50th frame from here comes late (0: never)
  uint32_t LeaveAt;         // answers yes to the exit question (0: plays to the end)
  int32_t MinLevel;         // the level the game reaches at least
};

class RecordedRace : public GameRun, public ::testing::WithParamInterface<TGameScript> {
 protected:
  void SetUp() override {
    GameRun::SetUp();
    if (!UseBuiltData(false)) GTEST_SKIP() << "no built game data";
  }

  // Holds or lets go of a key as a player would, through the window's events.
  void Hold(int key, bool down) {
    if (down == held_[static_cast<size_t>(key)]) return;
    held_[static_cast<size_t>(key)] = down;
    if (down)
      platform.events.KeyDown(key);
    else
      platform.events.KeyUp(key);
  }

  // The lane whose nearest obstacle ahead is farthest away; the car heads
  // for its middle.
  void Steer(bool careful) {
    const TRaceState& s = form->RaceState;
    double target = s.RoadLeft + 1.5 * s.LaneWidth;
    if (careful) {
      double best = -1e9;
      const TSpriteEngine& engine = form->SpriteEngine.Engine();
      for (int lane = 0; lane < 4; ++lane) {
        const double left = s.RoadLeft + lane * s.LaneWidth, right = left + s.LaneWidth;
        double room = 1e6;
        for (int32_t i = 0; i < engine.ChildCount(); ++i) {
          const TSprite* o = engine.ChildAt(i);
          const bool obstacle = dynamic_cast<const TWallSprite*>(o) ||
                                dynamic_cast<const TFirstWallSprite*>(o) || dynamic_cast<const TStolb*>(o) ||
                                dynamic_cast<const TTree*>(o) || dynamic_cast<const TMeteorit*>(o) ||
                                dynamic_cast<const TLuja*>(o);
          if (!obstacle || o->IsDead() || o->X >= right || o->X + o->Width <= left) continue;
          if (o->Y > s.CarY + 100) continue;  // behind the car
          room = std::min(room, s.CarY - (o->Y + o->Height));
        }
        // Staying put is worth a little: no weaving between equal lanes.
        const double here = std::abs(s.CarX + 27 - (left + right) / 2) < s.LaneWidth / 2 ? 40 : 0;
        if (room + here > best) {
          best = room + here;
          target = (left + right) / 2 - 27;
        }
      }
    }
    Hold(vk::Left, s.CarX > target + 4);
    Hold(vk::Right, s.CarX < target - 4);
  }

  // Plays the race until it is over or the script leaves it; returns the
  // race frames played.
  void Play(const TGameScript& g) {
    std::mt19937 rng(7);
    for (uint32_t frame = 0; frame < 20000 && form->CurrentScreen == screen::Race; ++frame) {
      const uint32_t f = form->RaceSession.FrameNumber();
      if (g.LeaveAt != 0 && f >= g.LeaveAt && form->RaceState.LevelEndState == 0 &&
          !form->RaceHost().LevelCompleteTimerEnabled()) {
        Press(vk::Escape);
        if (form->GameMainExit.Checked) {
          // "Да", clicked as a player would.
          const int x = (hit::Yes.Left + hit::Yes.Right) / 2, y = (hit::Yes.Top + hit::Yes.Bottom) / 2;
          form->DXDrawMouseMove(0, x, y);
          form->DXDrawMouseDown(1, 0, x, y);
          break;
        }
      }
      Hold(vk::Up, true);
      Steer(g.Careful);
      if (f == g.PauseAt || (g.PauseAt != 0 && f == g.PauseAt + 1)) Press('P');
      if (f == g.AskAt || (g.AskAt != 0 && f == g.AskAt + 1)) Press(vk::Escape);
      if (g.FocusLostAt != 0 && f == g.FocusLostAt) {
        platform.events.Activate(false);
        RunFor(15);
        RunFor(700);
        platform.events.Activate(true);
      }
      // Fire now and then, and spend a stop charge now and then.
      if (rng() % 90 == 0) Press(vk::Control, ssCtrl);
      Hold(vk::Return, rng() % 400 == 0);
      if (g.LateFramesFrom != 0 && f >= g.LateFramesFrom && f % 50 == 0) platform.clock.Advance(40);
      RunFor(15);
    }
  }

  std::array<bool, 256> held_{};
};

TEST_P(RecordedRace, ReplaysToTheSameEnd) {
  const TGameScript& g = GetParam();
  Start();
  form->SwitchScreen(screen::MainMenu);
  Press(vk::Return);
  ASSERT_EQ(form->CurrentScreen, screen::Race);
  EXPECT_EQ(form->LastRecording(), nullptr);  // not while the game is played
  Play(g);
  ASSERT_NE(form->CurrentScreen, screen::Race) << "the game did not end";
  const TRecording* recording = form->LastRecording();
  ASSERT_NE(recording, nullptr);
  const TRecording rec = *recording;
  EXPECT_EQ(rec.FinalScore, form->RaceState.Score);
  EXPECT_EQ(rec.FinalLevel, form->RaceState.Level);
  EXPECT_GE(rec.FinalLevel, g.MinLevel);
  EXPECT_EQ(rec.FrameCount, form->RaceSession.FrameNumber() + (g.LeaveAt != 0 ? 1 : 0));

  // The inputs the script meant to give are in the recording.
  auto has = [&](TInputKind kind, auto&& pred) {
    return std::any_of(rec.Events.begin(), rec.Events.end(),
                       [&](const TInputEvent& e) { return e.Kind == kind && pred(e.Value); });
  };
  if (g.PauseAt != 0) {
    EXPECT_TRUE(has(TInputKind::KeyPress, [](uint32_t v) { return v == 'P'; }));
  }
  if (g.AskAt != 0) {
    EXPECT_TRUE(has(TInputKind::ExitQuestion, [](uint32_t v) { return v == 0; }));
  }
  if (g.FocusLostAt != 0) {
    EXPECT_TRUE(has(TInputKind::Focus, [](uint32_t v) { return v == 0; }));
  }
  if (g.LateFramesFrom != 0) {
    EXPECT_TRUE(has(TInputKind::Lag, [](uint32_t v) { return v > 1; }));
  }
  if (g.LeaveAt != 0) {
    EXPECT_TRUE(has(TInputKind::ExitQuestion, [](uint32_t v) { return v == 2; }));
  }

  const TRaceImages images = TRaceImages::FromFile("Data/GraphicsMain.dxg");
  const TReplayResult first = ReplayRecording(rec, images);
  EXPECT_EQ(first.End, g.LeaveAt != 0 ? TReplayEnd::AnsweredYes : TReplayEnd::GameOver);
  EXPECT_TRUE(ReplayConfirms(rec, first));
  EXPECT_EQ(first.FinalScore, rec.FinalScore);
  EXPECT_EQ(first.FinalLevel, rec.FinalLevel);
  EXPECT_EQ(first.Frames, rec.FrameCount);
  EXPECT_EQ(first.LevelHashes, form->RaceSession.LevelHashes());
  EXPECT_EQ(static_cast<int32_t>(first.LevelHashes.size()), rec.FinalLevel + 1);

  // The name entered after the game goes into its recording.
  if (g.LeaveAt == 0) {
    ASSERT_EQ(form->CurrentScreen, screen::GameOver);
    form->PlayerName = "Test";
    form->EnterHighScore();
    ASSERT_NE(form->LastRecording(), nullptr);
    EXPECT_EQ(form->LastRecording()->PlayerName, "Test");
  }

  const TReplayResult second = ReplayRecording(rec, images);
  EXPECT_EQ(second.LevelHashes, first.LevelHashes);
  EXPECT_EQ(second.FinalScore, first.FinalScore);
  EXPECT_EQ(second.Frames, first.Frames);
  EXPECT_EQ(Reported(), "");
}

INSTANTIATE_TEST_SUITE_P(Games, RecordedRace,
                         ::testing::Values(
                             // Straight on into whatever comes: a game lost early.
                             TGameScript{"Reckless", false, 0, 0, 0, 0, 0, 1},
                             // Round the obstacles over several levels, held and disturbed on the way.
                             TGameScript{"CarefulAndDisturbed", true, 300, 700, 1000, 1200, 0, 3},
                             // Left from the exit question after late frames.
                             TGameScript{"LeftByYes", true, 0, 0, 0, 200, 900, 1}),
                         [](const ::testing::TestParamInfo<TGameScript>& p) {
                           return std::string(p.param.Name);
                         });

}  // namespace
}  // namespace bd::test
