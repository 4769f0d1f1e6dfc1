#include "race/replay/Replay.h"

#include "race/RulesVersion.h"
#include "race/replay/RecordingDriver.h"
#include "race/replay/ReplayHost.h"

namespace bd {

TReplayResult ReplayRecording(const TRecording& recording, const TRaceImages& images, uint32_t maxFrames) {
  TReplayResult result;
  if (recording.RulesVersion != kRaceRulesVersion) {
    result.End = TReplayEnd::OtherRules;
    return result;
  }
  TReplayHost host(images);
  TRaceSession& session = host.Session();
  TRecordingDriver driver(recording, host, session);
  driver.Start();
  result.End = TReplayEnd::OutOfFrames;
  while (!driver.Done()) {
    if (driver.FramesPlayed() >= maxFrames) {
      result.End = TReplayEnd::FrameLimit;
      break;
    }
    driver.Step();
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
