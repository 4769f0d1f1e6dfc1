#include "race/RaceSession.h"

#include <algorithm>

#include "engine/sprites/SpriteTree.h"
#include "race/RaceFrame.h"
#include "race/RaceStateHash.h"

namespace bd {

void TRaceSession::Begin(const TRaceSeed& seed) {
  begun_ = true;
  over_ = false;
  random_.SetSeed(seed.Value);
  clocks_ = TRaceClocks{};
  keysHeld_ = 0;
  questionOpen_ = false;
  focused_ = true;
  frame_ = 0;
  hashedLevel_ = 0;
  levelHashes_.clear();
  recorder_.Begin(seed);
}

TRaceKeyOutcome TRaceSession::KeyPress(IRaceHost& host, int key, uint8_t shift) {
  if (!Playing()) return TRaceKeyOutcome::Ignored;
  const TRaceKeyOutcome outcome = ApplyRaceKey(host, key, shift);
  // A press that changed nothing changes nothing when played again either.
  if (outcome != TRaceKeyOutcome::Ignored) recorder_.KeyPress(frame_, PackKeyPress(key, shift));
  return outcome;
}

void TRaceSession::ExitQuestion(IRaceHost& host, TExitQuestionEvent event) {
  if (!Playing()) return;
  recorder_.ExitQuestion(frame_, static_cast<uint32_t>(event));
  questionOpen_ = event == TExitQuestionEvent::Opened;
  ApplyExitQuestion(host, event);
  // The answer belongs to the frame that would have come next, whose race
  // work never runs: it counts among the game's frames.
  if (event == TExitQuestionEvent::AnsweredYes) End(host, frame_ + 1);
}

void TRaceSession::Focus(bool focused) {
  if (!Playing()) return;
  focused_ = focused;
  recorder_.Focus(frame_, focused);
}

void TRaceSession::Frame(IRaceHost& host, int lagCount, uint32_t keysHeld) {
  const int lag = std::max(lagCount, 1);
  keysHeld_ = keysHeld;
  if (Playing()) recorder_.FrameInputs(frame_, lag, keysHeld);
  // The game began between frames, once the race's pictures were loaded:
  // the first frame's lag reaches back before the game and is no race time.
  TickRaceClocks(host, clocks_, frame_ == 0 ? 1 : lag, Held(host.RaceState()));
  host.Engine().MoveTree(lag);
  // A crash while the sprites moved may have lost the last life: this frame
  // leaves the race, so the game's end is taken before it does.
  if (Playing() && host.RaceState().GameOver) End(host, frame_ + 1);
  RunRaceFrame(host);
  ++frame_;
  if (Playing() && host.RaceState().Level != hashedLevel_) {
    hashedLevel_ = host.RaceState().Level;
    levelHashes_.push_back(Hash(host));
  }
}

bool TRaceSession::Held(const TRaceState& s) const { return s.Paused || questionOpen_ || !focused_; }

void TRaceSession::End(IRaceHost& host, uint32_t frameCount) {
  over_ = true;
  const TRaceState& s = host.RaceState();
  recorder_.Finish(frameCount, s.Score, s.Level);
  levelHashes_.push_back(Hash(host));
}

uint64_t TRaceSession::Hash(IRaceHost& host) const {
  return RaceStateHash(host.RaceState(), clocks_, host.Engine());
}

}  // namespace bd
