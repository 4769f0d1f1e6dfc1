#pragma once
// What the checking worker needs of the game's code: reading a recording's
// bytes and playing the race again, headless, from its seed and inputs.

#include <cstdint>
#include <filesystem>
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

// The game's own decoder and headless race, playing with the race's
// pictures read from `racePictures` (the game's "Data/GraphicsMain.dxg"):
// collisions go by their pixels. A recording of other rules is refused as
// it is decoded.
std::unique_ptr<IRecordingReplay> GameRecordingReplay(const std::filesystem::path& racePictures);

// Where the race's pictures are when the operator names none: the game's
// data beside this program (a build), else the installed game's.
std::filesystem::path DefaultRacePictures();

}  // namespace bd::server
