#pragma once
// What the checking worker needs of the game's code: reading a recording's
// bytes and playing the race again, headless, from its seed and inputs.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "codec/Recording.h"

namespace bd::server {

struct TReplayResult {
  int32_t Score = 0;
  int32_t Level = 0;
  uint32_t Frames = 0;  // race frames played until the game ended

  bool operator==(const TReplayResult&) const = default;
};

class IRecordingReplay {
 public:
  virtual ~IRecordingReplay() = default;
  // The recording, or why the bytes are not one.
  virtual std::variant<TRecording, std::string> Decode(std::string_view bytes) = 0;
  // Plays the race to its end; nothing when it has not ended within
  // `frameLimit` frames.
  virtual std::optional<TReplayResult> Replay(const TRecording& recording, uint32_t frameLimit) = 0;
};

// The game's own decoder and race; nothing in a build that has them not.
std::unique_ptr<IRecordingReplay> GameRecordingReplay();

}  // namespace bd::server
