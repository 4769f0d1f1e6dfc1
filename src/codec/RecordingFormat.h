#pragma once
// The recording file: a recorded game as the game saves it, sends it with a
// score report and reads it back, and as the score server reads it. The
// layout is described byte by byte in docs/recording-format.md.
//
// A file is read as if it came from an enemy: its size, every header field
// and every event are checked, and the compressed events are inflated into
// a buffer no larger than the file declares (and never beyond the bound
// below), so a damaged or hostile file is refused with a reason and never
// costs more than a few megabytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "codec/Recording.h"
#include "codec/RecordingRules.h"

namespace bd {

// The first four bytes of every recording: "BDR" and the DOS end-of-file
// byte, which keeps a text viewer from spilling the compressed part.
inline constexpr std::string_view kRecordingMagic{"BDR\x1A", 4};
// The layout this code reads and writes. The race's rules have their own
// version, carried in the header (TRecording::RulesVersion).
inline constexpr uint16_t kRecordingFormatVersion = 1;

// What the desktop knows the files by.
inline constexpr std::string_view kRecordingFileExtension = ".bdrec";
inline constexpr std::string_view kRecordingMimeType = "application/x-bumperdash-recording";

// Bounds. A whole file above this size is refused before anything else is
// read: a two-hour game of ordinary play (about 330 bytes a minute) takes
// under a twentieth of it.
inline constexpr size_t kMaxRecordingFileBytes = 1 << 20;
// The events once inflated. An event takes 3 bytes in the usual case, so
// this holds a two-hour game (about 480 000 frames) even with an event on
// every frame, and keeps a reader's memory to a few tens of megabytes.
inline constexpr size_t kMaxRecordingEventBytes = 4 << 20;

// Why a file was refused, for a program to choose its message by; the
// refusal's text says what exactly was wrong, for a log.
enum class TRecordingFault : uint8_t {
  NotARecording,     // it does not start with the magic number
  UnknownVersion,    // a format version this game does not read (0, or made by a newer game)
  TooLarge,          // above one of the size bounds
  Truncated,         // shorter than its header says: cut off
  TrailingBytes,     // longer than its header says: something appended
  ChecksumMismatch,  // a byte was changed after it was written
  BadHeader,         // a header field outside what the game can write
  BadEvents,         // the events do not inflate to what the header says, or break their rules
};

struct TRecordingRefusal {
  TRecordingFault Fault = TRecordingFault::NotARecording;
  std::string Reason;  // English, one line, no bytes of the file in it
};

// The file's bytes. Throws std::invalid_argument with RecordingFault's
// text when the recording breaks one of its rules (RecordingRules.h), or
// when its events are too many for the bounds above, so that the game never
// writes a file it would refuse to read.
std::string EncodeRecording(const TRecording& recording);

// Reads a file's bytes back: the recording, or why the file was refused.
// Whatever it returns satisfies RecordingFault; the rules version is only
// carried, for the caller to compare with its own.
std::variant<TRecording, TRecordingRefusal> DecodeRecording(std::string_view bytes);

}  // namespace bd
