#include "codec/RecordingEvents.h"

#include "codec/CountText.h"

namespace bd {
namespace {

void PutVarint(std::string& out, uint32_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<char>((value & 0x7F) | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<char>(value));
}

// Reads one varint of at most 32 bits from the front of `in` into `out`.
// Returns what was wrong, or nullptr.
const char* TakeVarint(std::string_view& in, uint32_t& out) {
  uint64_t value = 0;
  for (int i = 0; i < 5; ++i) {
    if (in.empty()) return "is cut off";
    const auto byte = static_cast<unsigned char>(in.front());
    in.remove_prefix(1);
    value |= static_cast<uint64_t>(byte & 0x7F) << (7 * i);
    if ((byte & 0x80) == 0) {
      if (value > UINT32_MAX) return "holds a number beyond 32 bits";
      out = static_cast<uint32_t>(value);
      return nullptr;
    }
  }
  return "holds a number of more than five bytes";
}

}  // namespace

std::string WriteRecordingEvents(std::span<const TInputEvent> events) {
  std::string out;
  out.reserve(events.size() * 3);
  uint32_t previousFrame = 0;
  for (const TInputEvent& e : events) {
    PutVarint(out, e.Frame - previousFrame);
    PutVarint(out, static_cast<uint32_t>(e.Kind));
    PutVarint(out, e.Value);
    previousFrame = e.Frame;
  }
  return out;
}

std::string ReadRecordingEvents(std::string_view bytes, uint32_t count, std::vector<TInputEvent>& events) {
  events.clear();
  // Every event takes at least three bytes; checked before the count
  // decides how much memory to reserve.
  if (count > bytes.size() / 3)
    return CountText(count, "event") + " cannot fit in " + CountText(bytes.size(), "byte");
  events.reserve(count);
  std::string_view rest = bytes;
  uint64_t frame = 0;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t delta = 0, kind = 0, value = 0;
    const char* fault = TakeVarint(rest, delta);
    if (!fault) fault = TakeVarint(rest, kind);
    if (!fault) fault = TakeVarint(rest, value);
    if (fault) return "event " + std::to_string(i) + " " + fault;
    frame += delta;
    if (frame > UINT32_MAX)
      return "event " + std::to_string(i) + " lies beyond frame " + std::to_string(UINT32_MAX);
    if (kind >= kInputKindCount)
      return "event " + std::to_string(i) + " is of unknown kind " + std::to_string(kind);
    events.push_back({static_cast<uint32_t>(frame), static_cast<TInputKind>(kind), value});
  }
  if (!rest.empty()) return CountText(rest.size(), "byte") + " follow the last event";
  return "";
}

}  // namespace bd
