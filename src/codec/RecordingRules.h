#pragma once
// What a recording must satisfy beyond the file's layout: the bounds of its
// strings and frames, a seed source that fits its ticket, and events that
// the race could have read. The file codec checks them before it writes and
// after it reads, so that the game never writes a file it would refuse.

#include <cstddef>
#include <cstdint>
#include <string>

#include "codec/Recording.h"

namespace bd {

// Race frames: about 17 hours at the 15 ms frame, pauses included.
inline constexpr uint32_t kMaxRecordingFrames = 1u << 22;
// The name is typed in at most 10 characters; the bound leaves room for a
// longer name entry without letting a file carry a page of text.
inline constexpr size_t kMaxRecordingNameBytes = 64;
// The server's signed ticket (its tokens are 80 hex characters today).
inline constexpr size_t kMaxRecordingTicketBytes = 256;

// The header's fields: the rules version set (from 1 up); a known seed
// source; an own seed without a ticket (nobody signed it) and a server's
// seed with one (a day's seed may carry one or not: the server can work it
// out from the date); the ticket printable ASCII without spaces, the name
// without control characters, both within their bounds; the final score and
// level not negative; FrameCount within its bound. Returns an empty text
// when they hold, else the first that does not.
std::string RecordingHeaderFault(const TRecording& recording);

// The events: in frame order, each on a frame before FrameCount, of a known
// kind, and with a value its kind can have (a lag of at least 1, focus 0 or
// 1, the exit question 0, 1 or 2; held keys and key presses are the race's
// business). Returns an empty text when they do, else the first event that
// does not and why.
std::string RecordingEventsFault(const TRecording& recording);

// The header's fault, else the events'.
std::string RecordingFault(const TRecording& recording);

}  // namespace bd
