#pragma once
// The recording's events as bytes, before compression. Each event is three
// numbers: how many frames after the previous event it comes (the first
// counts from frame 0), its kind, and its value, each an unsigned LEB128
// varint (seven bits a byte, low bits first, the top bit set on every byte
// but the last). A typical event is three bytes; deflate does the rest.
// Frame deltas cannot be negative, so events read back in frame order.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "codec/Recording.h"

namespace bd {

// The events in order; they must be in frame order.
std::string WriteRecordingEvents(std::span<const TInputEvent> events);

// Reads exactly `count` events that fill `bytes` exactly into `events`.
// Refuses a varint of more than five bytes or beyond 32 bits, a frame
// beyond 32 bits, an unknown kind, bytes missing or left over. Returns an
// empty text when all is well, else what was wrong.
std::string ReadRecordingEvents(std::string_view bytes, uint32_t count, std::vector<TInputEvent>& events);

}  // namespace bd
