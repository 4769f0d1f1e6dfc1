// Watching a recorded game: the recording handed to the replay screen, from
// the game (a table entry's recording) or from a file (the command line).
// What cannot be played the same is refused here, with a message that says
// why, before the replay screen is shown.
#include <cerrno>
#include <stdexcept>
#include <string_view>
#include <variant>

#include "app/MainForm.h"
#include "codec/RecordingFormat.h"
#include "engine/base/RegularFile.h"
#include "race/RoadBuilder.h"
#include "race/RulesVersion.h"

namespace bd {
namespace {

// The message boxes take UTF-8.
std::string CannotWatch(const std::string& path) {
  return path.empty() ? "Эту запись гонки не посмотреть." : "Запись гонки «" + path + "» не посмотреть.";
}

std::string UnreadableReason(const TFileRead& read) {
  switch (read.error) {
    case ENOENT:
      return "Такого файла нет.";
    case EACCES:
      return "Нет прав на чтение этого файла.";
    case EISDIR:
    case EINVAL:
      return "Это не файл записи, а папка или устройство.";
    case EFBIG:
      return "Файл слишком велик для записи гонки.";
    default:
      return "Файл не читается (" + read.reason + ").";
  }
}

std::string RefusalReason(const TRecordingRefusal& refusal) {
  switch (refusal.Fault) {
    case TRecordingFault::NotARecording:
      return "Это не запись гонки.";
    case TRecordingFault::UnknownVersion:
      return "Файл записан в формате, которого эта версия игры не знает: его сделала более новая игра.";
    case TRecordingFault::TooLarge:
      return "Файл слишком велик для записи гонки.";
    case TRecordingFault::Truncated:
    case TRecordingFault::TrailingBytes:
    case TRecordingFault::ChecksumMismatch:
    case TRecordingFault::BadHeader:
    case TRecordingFault::BadEvents:
      break;
  }
  return "Запись повреждена: файл обрезан или изменён.";
}

std::string OtherRulesReason(uint32_t rules) {
  return "Её сделала другая версия игры, с другими правилами гонки (версия правил " + std::to_string(rules) +
         ", у этой игры — " + std::to_string(kRaceRulesVersion) +
         "): здесь гонка сыграла бы иначе. Посмотреть её можно в той версии игры, что её записала.";
}

}  // namespace

void TMainForm::WatchRecordingFile(const std::string& path) {
  std::string reason;
  TRecording recording;
  // One byte more than a recording may take tells a file too large from one
  // just large enough.
  const TFileRead read = ReadRegularFile(path, kMaxRecordingFileBytes + 1);
  if (read.error != 0) {
    reason = UnreadableReason(read);
  } else {
    const std::string_view bytes(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size());
    auto decoded = DecodeRecording(bytes);
    if (const auto* refusal = std::get_if<TRecordingRefusal>(&decoded))
      reason = RefusalReason(*refusal);
    else
      recording = std::move(std::get<TRecording>(decoded));
  }
  if (reason.empty() && recording.RulesVersion != kRaceRulesVersion)
    reason = OtherRulesReason(recording.RulesVersion);
  if (!reason.empty()) {
    Application.ShowException(std::runtime_error(CannotWatch(path) + "\n" + reason));
    if (CurrentScreen != screen::MainMenu) SwitchScreen(screen::MainMenu);
    return;
  }
  WatchRecording(recording, screen::MainMenu);
}

void TMainForm::WatchRecording(const TRecording& recording, uint8_t backTo) {
  if (recording.RulesVersion != kRaceRulesVersion) {
    Application.ShowException(
        std::runtime_error(CannotWatch("") + "\n" + OtherRulesReason(recording.RulesVersion)));
    if (CurrentScreen != backTo) SwitchScreen(backTo);
    return;
  }
  watchBackTo_ = backTo;
  watched_ = recording;
  SwitchScreen(screen::Replay);
}

void TMainForm::StartWatchedRace() {
  KillAllSprites(SpriteEngine.Engine());
  Window.SetPointer(PointerShape::Hidden);
  PlayMusic("2");
  try {
    LoadGraphics(GraphicsMainPath);
  } catch (EError& e) {
    e.SetMessage(std::string(e.what()) + "\nThe recording cannot be watched without it.");
    SwitchScreen(watchBackTo_);
    throw;
  }
}

}  // namespace bd
