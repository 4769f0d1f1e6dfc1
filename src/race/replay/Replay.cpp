#include "race/replay/Replay.h"

#include <algorithm>

#include "race/LevelChange.h"
#include "race/RulesVersion.h"
#include "race/replay/ReplayHost.h"

namespace bd {
namespace {

// The inputs that hold from one frame to the next.
struct THeldInputs {
  int Lag = 1;
  uint32_t Keys = 0;
};

void Apply(TReplayHost& host, THeldInputs& held, const TInputEvent& e) {
  TRaceSession& session = host.Session();
  switch (e.Kind) {
    case TInputKind::Lag:
      held.Lag = static_cast<int>(std::clamp<uint32_t>(e.Value, 1, std::numeric_limits<int32_t>::max()));
      break;
    case TInputKind::KeysHeld:
      held.Keys = e.Value;
      break;
    case TInputKind::KeyPress:
      session.KeyPress(host, PressedKey(e.Value), PressedShift(e.Value));
      break;
    case TInputKind::Focus:
      session.Focus(e.Value != 0);
      break;
    case TInputKind::ExitQuestion:
      // A value the game never writes changes nothing.
      if (e.Value <= static_cast<uint32_t>(TExitQuestionEvent::AnsweredYes))
        session.ExitQuestion(host, static_cast<TExitQuestionEvent>(e.Value));
      break;
  }
}

}  // namespace

TReplayResult ReplayRecording(const TRecording& recording, const TRaceImages& images, uint32_t maxFrames) {
  TReplayResult result;
  if (recording.RulesVersion != kRaceRulesVersion) {
    result.End = TReplayEnd::OtherRules;
    return result;
  }
  TReplayHost host(images);
  TRaceSession& session = host.Session();
  session.Begin(TRaceSeed{recording.Seed, recording.SeedSource, recording.SeedTicket});
  StartNewGame(host);

  THeldInputs held;
  const std::vector<TInputEvent>& events = recording.Events;
  size_t next = 0;
  result.End = TReplayEnd::OutOfFrames;
  for (uint32_t frame = 0; frame < recording.FrameCount && !session.Over(); ++frame) {
    if (frame >= maxFrames) {
      result.End = TReplayEnd::FrameLimit;
      break;
    }
    // An event on an earlier frame than the one before it (which the game
    // never writes) is taken on the frame at hand.
    for (; next < events.size() && events[next].Frame <= frame; ++next) Apply(host, held, events[next]);
    if (session.Over()) break;
    session.Frame(host, held.Lag, held.Keys);
  }

  const TRaceState& s = host.RaceState();
  if (session.Over()) result.End = s.GameOver ? TReplayEnd::GameOver : TReplayEnd::AnsweredYes;
  result.FinalScore = s.Score;
  result.FinalLevel = s.Level;
  result.Frames = session.Over() ? session.Recording().FrameCount : session.FrameNumber();
  result.LevelHashes = session.LevelHashes();
  return result;
}

bool ReplayConfirms(const TRecording& recording, const TReplayResult& result) {
  return result.Finished() && result.FinalScore == recording.FinalScore &&
         result.FinalLevel == recording.FinalLevel && result.Frames == recording.FrameCount;
}

}  // namespace bd
