#pragma once
// The recordings of the games in the local high-score table, kept in a
// folder beside the settings file: one file per table place, named by the
// place ("1.bdrec" for the best entry ... "10.bdrec"). The settings file
// knows nothing of them and keeps its own layout.
//
// A file belongs to the entry at its place only while its header names the
// same player and score as the entry: the table lives in the settings file
// and the recordings in their own files, and a crash (or a settings file
// that could not be written) between the two can leave them out of step.
// A file that does not match its entry is never offered for it, so no
// entry ever shows another game's recording. Entries without a file (tables
// older than recordings, games recorded before) simply have none.

#include <filesystem>
#include <optional>
#include <string>

#include "app/AtomicFile.h"
#include "codec/Recording.h"
#include "frontend/HighScores.h"

namespace bd {

// The folder beside the settings file that holds the table's recordings.
inline constexpr const char* TableRecordingsFolder = "Recordings";

// What a table place offers to be watched.
struct TTableRecordingLookup {
  // The entry's recording, decoded; none when the place has no file or its
  // file was refused.
  std::optional<TRecording> Recording;
  // Why a file at the place was refused (damaged, not a recording, another
  // entry's game), in English for a log; empty when it was offered or when
  // there is no file at all.
  std::string Refusal;
};

class TTableRecordings {
 public:
  // `folder` holds the files; it is made when the first one is written.
  // `write` replaces write(2) for the files' data (tests make it fail).
  explicit TTableRecordings(std::filesystem::path folder, TWriteCall write = {});

  // The file of table place `index` (0 for the best entry).
  std::filesystem::path PathOf(int index) const;

  // A game entered the table at `index` as `entry`, the entries from there
  // on having moved down one place: their files move down with them, the
  // file of the entry that dropped out of the table goes, and `recording` is
  // written at `index` when it is that entry's game (its header names the
  // entry's player and score); otherwise the place is left without a file.
  // Each file is written whole under a temporary name and then renamed.
  // Throws EInOutError at the first file that cannot be moved, removed or
  // written; the table itself is not touched here.
  void Entered(int index, const TLocal_HighScores& entry, const TRecording* recording);

  // The table was cleared: every place's file is removed (nothing else in
  // the folder). Throws EInOutError when one cannot be removed.
  void Cleared();

  // The recording kept for `entry` at place `index`. The file is read with
  // a bound on its size and decoded with all of the format's checks; the
  // rules version is only carried, for whoever plays it to compare.
  TTableRecordingLookup At(int index, const TLocal_HighScores& entry) const;

 private:
  std::filesystem::path folder_;
  TWriteCall write_;
};

}  // namespace bd
