#include "race/replay/RecordingDriver.h"

#include <algorithm>
#include <limits>

#include "race/LevelChange.h"
#include "race/RaceInput.h"

namespace bd {

void TRecordingDriver::Start() {
  session_.Begin(TRaceSeed{recording_.Seed, recording_.SeedSource, recording_.SeedTicket});
  StartNewGame(host_);
  next_ = 0;
  lag_ = 1;
  keys_ = 0;
}

void TRecordingDriver::Step() {
  if (Done()) return;
  const uint32_t frame = session_.FrameNumber();
  const std::vector<TInputEvent>& events = recording_.Events;
  for (; next_ < events.size() && events[next_].Frame <= frame; ++next_) Apply(events[next_]);
  // A yes to the exit question ends the game before its frame runs.
  if (session_.Over()) return;
  session_.Frame(host_, lag_, keys_);
}

void TRecordingDriver::Apply(const TInputEvent& e) {
  switch (e.Kind) {
    case TInputKind::Lag:
      lag_ = static_cast<int>(std::clamp<uint32_t>(e.Value, 1, std::numeric_limits<int32_t>::max()));
      break;
    case TInputKind::KeysHeld:
      keys_ = e.Value;
      break;
    case TInputKind::KeyPress:
      session_.KeyPress(host_, PressedKey(e.Value), PressedShift(e.Value));
      break;
    case TInputKind::Focus:
      session_.Focus(e.Value != 0);
      break;
    case TInputKind::ExitQuestion:
      if (e.Value <= static_cast<uint32_t>(TExitQuestionEvent::AnsweredYes))
        session_.ExitQuestion(host_, static_cast<TExitQuestionEvent>(e.Value));
      break;
  }
}

}  // namespace bd
