#include "race/RaceRecorder.h"

#include "race/RulesVersion.h"

namespace bd {

void TRaceRecorder::Begin(const TRaceSeed& seed) {
  recording_ = TRecording{};
  recording_.RulesVersion = kRaceRulesVersion;
  recording_.Seed = seed.Value;
  recording_.SeedSource = seed.Source;
  recording_.SeedTicket = seed.Ticket;
  lag_ = 1;
  keys_ = 0;
  focused_ = true;
}

void TRaceRecorder::FrameInputs(uint32_t frame, int lagCount, uint32_t keysHeld) {
  const auto lag = static_cast<uint32_t>(lagCount < 1 ? 1 : lagCount);
  if (lag != lag_) Add(frame, TInputKind::Lag, lag_ = lag);
  if (keysHeld != keys_) Add(frame, TInputKind::KeysHeld, keys_ = keysHeld);
}

void TRaceRecorder::KeyPress(uint32_t frame, uint32_t packedKey) {
  Add(frame, TInputKind::KeyPress, packedKey);
}

void TRaceRecorder::Focus(uint32_t frame, bool focused) {
  if (focused == focused_) return;
  focused_ = focused;
  Add(frame, TInputKind::Focus, focused ? 1 : 0);
}

void TRaceRecorder::ExitQuestion(uint32_t frame, uint32_t value) {
  Add(frame, TInputKind::ExitQuestion, value);
}

void TRaceRecorder::Finish(uint32_t frameCount, int32_t score, int32_t level) {
  recording_.FrameCount = frameCount;
  recording_.FinalScore = score;
  recording_.FinalLevel = level;
}

void TRaceRecorder::Add(uint32_t frame, TInputKind kind, uint32_t value) {
  recording_.Events.push_back(TInputEvent{frame, kind, value});
}

}  // namespace bd
