#include "common/SampleRecording.h"

#include <zlib.h>

#include <random>

namespace bd {
namespace {

// Key codes as the race screen receives them (virtual-key numbers).
constexpr uint32_t kKeyPause = 'P';
constexpr uint32_t kKeySpace = 32;
constexpr uint32_t kShiftBit = 1u << 16;

// Draws from the generator with plain arithmetic, so that the sequence does
// not depend on the standard library's distributions.
class TDraw {
 public:
  explicit TDraw(uint32_t seed) : rng_(seed) {}
  // 0 .. n-1
  uint32_t Below(uint32_t n) { return static_cast<uint32_t>(rng_() % n); }
  uint32_t Between(uint32_t lo, uint32_t hi) { return lo + Below(hi - lo + 1); }
  bool OneIn(uint32_t n) { return Below(n) == 0; }

 private:
  std::mt19937 rng_;
};

// The next set of held keys: the accelerator stays down nine times in ten,
// steering is tapped to one side or let go, the handbrake and the stop key
// come rarely.
uint32_t NextKeys(TDraw& draw, uint32_t keys) {
  using namespace sample_keys;
  uint32_t next = draw.OneIn(10) ? keys ^ Up : keys | Up;
  switch (draw.Below(4)) {
    case 0:
      next = (next & ~Right) | Left;
      break;
    case 1:
      next = (next & ~Left) | Right;
      break;
    default:
      next &= ~(Left | Right);
      break;
  }
  next &= ~(Down | Space | Return);
  if (draw.OneIn(15)) next |= Down;
  if (draw.OneIn(40)) next |= Space;
  if (draw.OneIn(80)) next |= Return;
  return next;
}

}  // namespace

TRecording MakeSampleRecording(uint32_t seed, uint32_t frames) {
  TDraw draw(seed);
  TRecording r;
  r.RulesVersion = 1;
  r.Seed = seed * 2654435761u;
  r.SeedSource = TSeedSource::Server;
  r.SeedTicket = std::string(80, '0');
  for (char& c : r.SeedTicket) c = "0123456789abcdef"[draw.Below(16)];
  r.PlayerName = "Sample";
  r.FrameCount = frames;

  uint32_t keys = 0;
  uint32_t nextKeys = draw.Between(5, 30);
  uint32_t nextLate = draw.Between(100, 600);
  bool late = false;
  // Something that stops the race for a while: the two events around it,
  // the second `Between(100, 400)` frames after the first; the loop goes on
  // after the second.
  auto interruption = [&](uint32_t& frame, TInputEvent first, TInputEvent second) {
    r.Events.push_back(first);
    frame += draw.Between(100, 400);
    second.Frame = frame;
    if (frame < frames) r.Events.push_back(second);
  };
  for (uint32_t frame = 0; frame < frames; ++frame) {
    // A late frame stands for 2 or 3 intervals; the next one is on time.
    if (late) {
      r.Events.push_back({frame, TInputKind::Lag, 1});
      late = false;
    } else if (frame >= nextLate) {
      r.Events.push_back({frame, TInputKind::Lag, draw.Between(2, 3)});
      late = true;
      nextLate = frame + draw.Between(100, 600);
    }
    if (frame >= nextKeys) {
      const uint32_t held = NextKeys(draw, keys);
      if (held != keys) r.Events.push_back({frame, TInputKind::KeysHeld, held});
      keys = held;
      nextKeys = frame + draw.Between(5, 30);
    }
    if (draw.OneIn(300)) r.Events.push_back({frame, TInputKind::KeyPress, kKeySpace});
    // A pause (the second press with shift, as a player may hold it), the
    // exit question opened and closed, the window losing the focus.
    if (draw.OneIn(6000))
      interruption(frame, {frame, TInputKind::KeyPress, kKeyPause},
                   {0, TInputKind::KeyPress, kKeyPause | kShiftBit});
    else if (draw.OneIn(20000))
      interruption(frame, {frame, TInputKind::ExitQuestion, 1}, {0, TInputKind::ExitQuestion, 0});
    else if (draw.OneIn(30000))
      interruption(frame, {frame, TInputKind::Focus, 0}, {0, TInputKind::Focus, 1});
  }
  r.FinalLevel = static_cast<int32_t>(1 + frames / 12000);
  r.FinalScore = static_cast<int32_t>(frames / 3 + draw.Below(500));
  return r;
}

void ResealRecording(std::string& bytes) {
  if (bytes.size() < 14) return;
  const auto put = [&bytes](size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  put(6, static_cast<uint32_t>(bytes.size()));
  put(10, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + 14),
                                      static_cast<uInt>(bytes.size() - 14))));
}

}  // namespace bd
