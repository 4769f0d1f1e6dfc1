#include "frontend/screens/ReplayScreen.h"

#include <algorithm>
#include <string>

#include "codec/Cp1251.h"
#include "frontend/FrontEndHost.h"
#include "race/RaceFrame.h"
#include "race/RaceHud.h"
#include "race/replay/RecordingDriver.h"

namespace bd {
namespace {

constexpr int kSlowest = 1;
constexpr int kFastest = 8;
// A late drawn frame runs the race frames of the intervals it stands for,
// as the race would, up to this many intervals: a replay held up for long
// goes on where it stopped rather than racing ahead.
constexpr int kMostIntervalsCaughtUp = 4;
// How long the end of the recorded game stays on screen: about two seconds
// of 15 ms frames.
constexpr int kEndShownFrames = 130;

// The keys besides the arrows: + and - on the numeric keypad and on the
// main keyboard (where + shares the key with =).
constexpr int kKeypadPlus = 107;
constexpr int kKeypadMinus = 109;
constexpr int kPlusEquals = 187;
constexpr int kMinus = 189;

bool FasterKey(int key) {
  return key == vk::Right || key == vk::Up || key == kKeypadPlus || key == kPlusEquals;
}
bool SlowerKey(int key) { return key == vk::Left || key == vk::Down || key == kKeypadMinus || key == kMinus; }

}  // namespace

TReplayScreen::TReplayScreen(IFrontEndHost& host) : TScreen(host) {}
TReplayScreen::~TReplayScreen() = default;

void TReplayScreen::Build() {
  driver_.reset();
  speed_ = kSlowest;
  paused_ = false;
  endShown_ = 0;
  host_.StartWatchedRace();
  driver_ = std::make_unique<TRecordingDriver>(host_.WatchedRecording(), host_.WatchedRaceHost(),
                                               host_.WatchedSession());
  driver_->Start();
}

void TReplayScreen::Leave() {
  TScreen::Leave();
  driver_.reset();
  host_.SetWatchedRaceDrawing(true);
  host_.SetMenuMusicPending(true);
  host_.StopAllSounds();
  host_.LoadMenuGraphicsAfterRace();
}

void TReplayScreen::GoBack() { host_.SwitchScreen(host_.WatchReturnScreen()); }

void TReplayScreen::Frame(int lagCount) {
  if (!driver_) return;
  if (driver_->Done() && ++endShown_ > kEndShownFrames) {
    GoBack();
    return;
  }
  Play(lagCount);
  DrawCaption();
}

void TReplayScreen::Play(int lagCount) {
  IRaceHost& race = host_.WatchedRaceHost();
  bool drawn = false;
  if (!paused_ && !driver_->Done()) {
    // Only the last of the frames run now is drawn: the others' pictures
    // would be drawn over before anyone saw them. Their sounds all play.
    const int steps = speed_ * std::clamp(lagCount, 1, kMostIntervalsCaughtUp);
    for (int i = 0; i < steps && !driver_->Done(); ++i) {
      const bool last = i + 1 == steps;
      const uint32_t before = driver_->FramesPlayed();
      host_.SetWatchedRaceDrawing(last);
      driver_->Step();
      drawn = last && driver_->FramesPlayed() != before;
    }
    host_.SetWatchedRaceDrawing(true);
  }
  if (!drawn) DrawRaceStill(race);
}

void TReplayScreen::DrawCaption() {
  IRaceHost& race = host_.WatchedRaceHost();
  const std::string& name = host_.WatchedRecording().PlayerName;
  // Windows-1251 has no multiplication sign: the speed is written as the
  // head-up display writes its counts, with a letter x.
  std::string caption = W("Повтор: ") + (name.empty() ? W("—") : name) + "  x" + std::to_string(speed_);
  if (paused_) caption += W("  пауза");
  race.DrawHudText({caption, 400, 30, 12, HudNavy, true, 360});
  if (driver_->Done()) race.DrawHudText({W("Повтор окончен"), 400, 250, 30, HudBlack, true});
}

void TReplayScreen::KeyDown(int key, uint8_t shift) {
  if (!driver_) return;
  const bool alt = (shift & ssAlt) != 0;
  if (key == vk::Escape || (key == vk::Return && !alt && driver_->Done())) {
    GoBack();
  } else if (FasterKey(key)) {
    speed_ = std::min(speed_ * 2, kFastest);
  } else if (SlowerKey(key)) {
    speed_ = std::max(speed_ / 2, kSlowest);
  } else if (key == 'P' || key == vk::Space) {
    paused_ = !paused_;
    // The engine's hum and whatever else sounds would go on over a still
    // picture.
    if (paused_) host_.StopAllSounds();
  }
}

bool TReplayScreen::CloseQuery() {
  GoBack();
  return false;
}

}  // namespace bd
