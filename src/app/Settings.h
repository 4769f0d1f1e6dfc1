#pragma once
// The settings file "Config.cfg": the three options, the country, the
// player's name and the high-score table, one encoded value a line (see
// SettingsCodec.h), 25 lines ended by CR LF:
//   1 full screen, 2 music, 3 sound ("true" or "false", not filled with '%'),
//   4 country, 5 player name,
//   6 + 2k name and 7 + 2k score (decimal digits) of table entry k, k = 0..9.
// Texts and scores are filled with '%' to a multiple of 5 characters before
// encoding, so they read back exactly; an empty text is an empty line.

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "app/AtomicFile.h"
#include "frontend/HighScores.h"

namespace bd {

inline constexpr const char* SettingsFileName = "Config.cfg";
inline constexpr int SettingsLineCount = 25;
// The country and every name hold at most this many characters, as typed.
inline constexpr size_t SettingsTextMaxLength = 10;

// Everything the file records, with the values a first start begins with.
// Texts are Windows-1251.
struct TSettingsValues {
  bool FullScreen = false;
  bool Music = true;
  bool Sound = true;
  std::string Country;
  std::string PlayerName;
  THighScoreTable Table = DefaultHighScores();

  bool operator==(const TSettingsValues&) const = default;
};

// The whole file as it is written.
std::string SettingsFileText(const TSettingsValues& values);

// Applies the text of a settings file to `values`, which hold the current
// state (at start-up: the defaults). Lines missing at the end read as empty.
//  - line 1: anything but "false" (also an empty line) sets FullScreen; the
//    caller switches to full screen when FullScreen has become true;
//  - lines 2 and 3: "false" clears Music or Sound, anything else keeps them;
//  - lines 4 and 5: Country and PlayerName take the value, also when empty;
//  - table lines: a non-empty name or score replaces the entry's.
// A line that cannot be used (a score that is not a 32-bit decimal number, a
// text with control characters) keeps the value it would have replaced; one
// message per such line is returned, in line order, and the rest of the file
// still applies. A line that holds control characters itself is reported as
// damaged too, though what its symbols give is used.
std::vector<std::string> ApplySettingsText(std::string_view text, TSettingsValues& values);

// Reads the file into `values` when it exists and returns whether it did. A
// file that cannot be read (also a folder, a pipe or a file far too large to
// be a settings file), or lines that cannot be used, leave the values
// concerned as they were; each problem is reported as one line on `log`.
bool LoadSettingsFile(const std::filesystem::path& path, TSettingsValues& values, std::ostream& log);

// Keeps a settings file that could not be used whole, so that whatever it
// holds survives the game writing a new one: a copy of it when it could be
// read (`readable`), otherwise the file itself, moved. The name is the first
// of "<path>.bad", "<path>.bad2", ... that does not exist yet. Returns that
// name, or an empty path with the reason in `error` when nothing was kept.
std::filesystem::path KeepBadSettingsFile(const std::filesystem::path& path, bool readable,
                                          std::string& error);

// Writes the whole file so that it is either replaced completely or not at
// all (see WriteFileAtomically). Throws EInOutError when it cannot be written.
void SaveSettingsFile(const std::filesystem::path& path, const TSettingsValues& values,
                      const TWriteCall& write = {});

}  // namespace bd
