// The checking worker's link to the game's own recording reader and its
// headless race: the same code that records a game in the game plays it
// again here.

#include <filesystem>
#include <optional>
#include <system_error>

#include "codec/RecordingFormat.h"
#include "race/RulesVersion.h"
#include "race/replay/Replay.h"
#include "server/RecordingReplay.h"

namespace bd::server {
namespace {

class TGameRecordingReplay final : public IRecordingReplay {
 public:
  explicit TGameRecordingReplay(std::filesystem::path racePictures) : racePictures_(std::move(racePictures)) {}

  std::variant<TRecording, std::string> Decode(std::string_view bytes) override {
    auto decoded = DecodeRecording(bytes);
    if (const auto* refusal = std::get_if<TRecordingRefusal>(&decoded)) return refusal->Reason;
    TRecording& recording = std::get<TRecording>(decoded);
    // A recording made under other rules cannot end the same here: say so
    // before anything is played.
    if (recording.RulesVersion != kRaceRulesVersion)
      return "recorded under the race's rules version " + std::to_string(recording.RulesVersion) +
             ", and this server plays version " + std::to_string(kRaceRulesVersion);
    return std::move(recording);
  }

  std::optional<TReplayResult> Replay(const TRecording& recording, uint32_t frameLimit) override {
    // The pictures are read only once the server has let the race be
    // played: a recording refused before costs no loading. A missing or
    // damaged archive raises, and the worker fails with its message.
    if (!images_) images_.emplace(TRaceImages::FromFile(racePictures_.string()));
    const bd::TReplayResult played = ReplayRecording(recording, *images_, frameLimit);
    if (!played.Finished()) return std::nullopt;
    return TReplayResult{.Score = played.FinalScore, .Level = played.FinalLevel, .Frames = played.Frames};
  }

 private:
  std::filesystem::path racePictures_;
  std::optional<TRaceImages> images_;
};

}  // namespace

std::filesystem::path DefaultRacePictures() {
  const std::filesystem::path inArchive = std::filesystem::path("Data") / "GraphicsMain.dxg";
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec && std::filesystem::exists(self.parent_path() / inArchive, ec)) return self.parent_path() / inArchive;
  return std::filesystem::path("/usr/share/bumperdash") / inArchive;
}

std::unique_ptr<IRecordingReplay> GameRecordingReplay(const std::filesystem::path& racePictures) {
  return std::make_unique<TGameRecordingReplay>(racePictures);
}

}  // namespace bd::server
