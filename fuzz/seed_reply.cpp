// The score server's answer to the game's request for a race seed, as any
// server (or anything pretending to be one) may send it: a line read as a
// seed reply must write back to the same line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "codec/SeedReplyFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto reply = bd::ParseSeedReply(text);
  if (!reply) return 0;
  if (text.ends_with("\r\n"))
    text.remove_suffix(2);
  else if (text.ends_with('\n'))
    text.remove_suffix(1);
  if (bd::BuildSeedReply(*reply) != text) std::abort();
  return 0;
}
