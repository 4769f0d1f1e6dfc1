#include "codec/RecordingRules.h"

#include <string_view>

namespace bd {
namespace {

bool HasControlCharacters(std::string_view text) {
  for (unsigned char c : text)
    if (c < 0x20 || c == 0x7F) return true;
  return false;
}

bool IsPrintableAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c <= 0x20 || c >= 0x7F) return false;
  return true;
}

std::string EventText(size_t index, const TInputEvent& event) {
  return "event " + std::to_string(index) + " (frame " + std::to_string(event.Frame) + ")";
}

// Empty when `value` is one that an event of `kind` can carry.
std::string ValueFault(TInputKind kind, uint32_t value) {
  switch (kind) {
    case TInputKind::Lag:
      return value >= 1 ? "" : "a lag of 0 intervals";
    case TInputKind::Focus:
      return value <= 1 ? "" : "a focus value other than 0 or 1";
    case TInputKind::ExitQuestion:
      return value <= 2 ? "" : "an exit question value other than 0, 1 or 2";
    case TInputKind::KeysHeld:
    case TInputKind::KeyPress:
      return "";
  }
  return "an unknown kind " + std::to_string(static_cast<unsigned>(kind));
}

}  // namespace

std::string RecordingHeaderFault(const TRecording& r) {
  if (r.RulesVersion == 0) return "the rules version is not set";
  if (static_cast<uint8_t>(r.SeedSource) > static_cast<uint8_t>(TSeedSource::Daily))
    return "unknown seed source " + std::to_string(static_cast<unsigned>(r.SeedSource));
  if (r.SeedSource == TSeedSource::Own && !r.SeedTicket.empty()) return "an own seed with a ticket";
  if (r.SeedSource == TSeedSource::Server && r.SeedTicket.empty())
    return "a server's seed without its ticket";
  if (r.SeedTicket.size() > kMaxRecordingTicketBytes)
    return "the seed ticket is longer than " + std::to_string(kMaxRecordingTicketBytes) + " bytes";
  if (!IsPrintableAscii(r.SeedTicket)) return "the seed ticket holds other than printable ASCII";
  if (r.PlayerName.size() > kMaxRecordingNameBytes)
    return "the player's name is longer than " + std::to_string(kMaxRecordingNameBytes) + " bytes";
  if (HasControlCharacters(r.PlayerName)) return "the player's name holds control characters";
  if (r.FinalScore < 0) return "a negative final score";
  if (r.FinalLevel < 0) return "a negative final level";
  if (r.FrameCount > kMaxRecordingFrames)
    return "more than " + std::to_string(kMaxRecordingFrames) + " frames";
  return "";
}

std::string RecordingEventsFault(const TRecording& r) {
  uint32_t previousFrame = 0;
  for (size_t i = 0; i < r.Events.size(); ++i) {
    const TInputEvent& e = r.Events[i];
    if (e.Frame < previousFrame) return EventText(i, e) + " is on an earlier frame than the event before it";
    if (e.Frame >= r.FrameCount)
      return EventText(i, e) + " is not within the " + std::to_string(r.FrameCount) + " frames played";
    if (const std::string fault = ValueFault(e.Kind, e.Value); !fault.empty())
      return EventText(i, e) + " has " + fault;
    previousFrame = e.Frame;
  }
  return "";
}

std::string RecordingFault(const TRecording& r) {
  std::string fault = RecordingHeaderFault(r);
  return fault.empty() ? RecordingEventsFault(r) : fault;
}

}  // namespace bd
