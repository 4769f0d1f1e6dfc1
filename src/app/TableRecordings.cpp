#include "app/TableRecordings.h"

#include <cerrno>
#include <string_view>
#include <system_error>
#include <utility>
#include <variant>

#include "codec/RecordingFormat.h"
#include "engine/base/RegularFile.h"

namespace bd {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const fs::path& path, const char* what, const std::error_code& ec) {
  throw EInOutError(Format("Cannot %s '%s': %s", what, path.c_str(), ec.message().c_str()));
}

// Removes a file that may not be there.
void RemoveIfThere(const fs::path& path) {
  std::error_code ec;
  fs::remove(path, ec);
  if (ec && ec != std::errc::no_such_file_or_directory) Fail(path, "remove", ec);
}

bool BelongsTo(const TRecording& recording, const TLocal_HighScores& entry) {
  return recording.PlayerName == entry.Name && recording.FinalScore == entry.Score;
}

}  // namespace

TTableRecordings::TTableRecordings(fs::path folder, TWriteCall write)
    : folder_(std::move(folder)), write_(std::move(write)) {}

fs::path TTableRecordings::PathOf(int index) const {
  return folder_ / (std::to_string(index + 1) + std::string(kRecordingFileExtension));
}

void TTableRecordings::Entered(int index, const TLocal_HighScores& entry, const TRecording* recording) {
  // From the bottom up, so that each file moves onto a place already
  // vacated; the rename over the last place drops the file that left the
  // table. A crash half-way leaves every file whole, at its old place or
  // its new one, and the check against the entries sorts out which is which.
  for (int to = HighScoreCount - 1; to > index; --to) {
    std::error_code ec;
    fs::rename(PathOf(to - 1), PathOf(to), ec);
    if (ec == std::errc::no_such_file_or_directory)
      RemoveIfThere(PathOf(to));  // the entry moving here has no recording
    else if (ec)
      Fail(PathOf(to - 1), "move", ec);
  }
  if (recording == nullptr || !BelongsTo(*recording, entry)) {
    RemoveIfThere(PathOf(index));
    return;
  }
  std::error_code ec;
  fs::create_directories(folder_, ec);
  if (ec) Fail(folder_, "make the folder", ec);
  std::string bytes;
  try {
    bytes = EncodeRecording(*recording);
  } catch (const std::invalid_argument& e) {
    throw EInOutError(Format("Cannot write '%s': %s", PathOf(index).c_str(), e.what()));
  }
  WriteFileAtomically(PathOf(index), bytes, write_);
}

void TTableRecordings::Cleared() {
  for (int index = 0; index < HighScoreCount; ++index) RemoveIfThere(PathOf(index));
}

TTableRecordingLookup TTableRecordings::At(int index, const TLocal_HighScores& entry) const {
  TTableRecordingLookup lookup;
  const fs::path path = PathOf(index);
  const TFileRead read = ReadRegularFile(path.string(), kMaxRecordingFileBytes);
  if (read.error == ENOENT) return lookup;
  if (read.error != 0) {
    lookup.Refusal = "'" + path.string() + "': " +
                     (read.error == EFBIG ? std::string("far too large for a recording") : read.reason);
    return lookup;
  }
  auto decoded =
      DecodeRecording(std::string_view(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()));
  if (const auto* refusal = std::get_if<TRecordingRefusal>(&decoded)) {
    lookup.Refusal = "'" + path.string() + "': " + refusal->Reason;
    return lookup;
  }
  TRecording& recording = std::get<TRecording>(decoded);
  if (!BelongsTo(recording, entry)) {
    lookup.Refusal = "'" + path.string() + "' is the recording of another game (" +
                     std::to_string(recording.FinalScore) + " points), not of this entry's";
    return lookup;
  }
  lookup.Recording = std::move(recording);
  return lookup;
}

}  // namespace bd
