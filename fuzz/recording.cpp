// A recording file as the game and the score server read it: the bytes as
// they come, and the same bytes with their size and checksum made right, so
// that the search reaches past the checksum into the header and the events.
// A refusal must say why; what is accepted must keep the recording's rules
// and write back to a file that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include "codec/RecordingFormat.h"
#include "common/SampleRecording.h"

namespace {

void Check(std::string_view bytes) {
  const auto decoded = bd::DecodeRecording(bytes);
  if (const auto* refusal = std::get_if<bd::TRecordingRefusal>(&decoded)) {
    if (refusal->Reason.empty()) std::abort();
    return;
  }
  const bd::TRecording& recording = std::get<bd::TRecording>(decoded);
  if (!bd::RecordingFault(recording).empty()) std::abort();
  const auto again = bd::DecodeRecording(bd::EncodeRecording(recording));
  if (!std::holds_alternative<bd::TRecording>(again) || !(std::get<bd::TRecording>(again) == recording))
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  Check(bytes);
  bd::ResealRecording(bytes);
  Check(bytes);
  return 0;
}
