#include "race/RaceStateHash.h"

#include <bit>
#include <string_view>
#include <typeinfo>

#include "engine/sprites/SpriteTree.h"
#include "race/RaceSprite.h"

namespace bd {
namespace {

class THasher {
 public:
  void Bytes(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i) {
      hash_ ^= p[i];
      hash_ *= 0x100000001B3ull;
    }
  }
  // Values go in as little-endian 64-bit integers, whatever their type.
  void Add(uint64_t v) {
    uint8_t b[8];
    for (int i = 0; i < 8; ++i) b[i] = static_cast<uint8_t>(v >> (8 * i));
    Bytes(b, sizeof b);
  }
  void Add(int64_t v) { Add(static_cast<uint64_t>(v)); }
  void Add(int32_t v) { Add(static_cast<uint64_t>(static_cast<int64_t>(v))); }
  void Add(uint32_t v) { Add(uint64_t{v}); }
  void Add(uint8_t v) { Add(uint64_t{v}); }
  void Add(bool v) { Add(uint64_t{v ? 1u : 0u}); }
  void Add(double v) { Add(std::bit_cast<uint64_t>(v)); }
  void Add(std::string_view text) {
    Add(static_cast<uint64_t>(text.size()));
    Bytes(text.data(), text.size());
  }
  void Add(const TRaceClock& c) {
    Add(c.Enabled());
    Add(c.Elapsed());
  }
  uint64_t Value() const { return hash_; }

 private:
  uint64_t hash_ = 0xCBF29CE484222325ull;
};

void AddState(THasher& h, const TRaceState& s) {
  // Every field, in declaration order: a field added to the state is added here.
  h.Add(s.ScreenWidth), h.Add(s.ScreenHeight), h.Add(s.RoadLeft), h.Add(s.LaneWidth), h.Add(s.CarBaseMargin);
  h.Add(s.FirstWallY1), h.Add(s.FirstWallY2);
  h.Add(s.Level), h.Add(s.Score), h.Add(s.Lives), h.Add(s.Health), h.Add(s.Distance), h.Add(s.LevelLength);
  h.Add(s.GameOver), h.Add(s.LevelEndState), h.Add(s.LevelEndTick);
  h.Add(s.Speed), h.Add(s.MaxSpeed), h.Add(s.AccelDelay), h.Add(s.SpeedTick), h.Add(s.StoppedFrames);
  h.Add(s.Handbrake), h.Add(s.HandbrakeTick), h.Add(s.Returning), h.Add(s.Grace), h.Add(s.BlinkTick);
  h.Add(s.Falling), h.Add(s.RaceRunning), h.Add(s.Paused), h.Add(s.CarX), h.Add(s.CarY), h.Add(s.CarZ);
  h.Add(s.HasGuns), h.Add(s.GunShots), h.Add(s.ShotInFlight), h.Add(s.HasStopMe), h.Add(s.StopMeCount);
  h.Add(s.StopKeyHeld), h.Add(s.NitroOn), h.Add(s.NitroSeconds), h.Add(s.SpeedBeforeNitro);
  h.Add(s.GunsMarkerY), h.Add(s.StopMeMarkerY), h.Add(s.NitroMarkerY);
  h.Add(s.ChasmY), h.Add(s.ChasmPieceHeight), h.Add(s.ChasmPiece1), h.Add(s.ChasmPiece2),
      h.Add(s.ChasmPiece3);
  h.Add(s.ChasmCreepPeriod), h.Add(s.MeteorSpread), h.Add(s.MeteorOdds);
}

}  // namespace

uint64_t RaceStateHash(const TRaceState& s, const TRaceClocks& clocks, const TSpriteEngine& engine) {
  THasher h;
  AddState(h, s);
  h.Add(clocks.Level), h.Add(clocks.Nitro), h.Add(clocks.LevelComplete);
  for (int32_t i = 0; i < engine.ChildCount(); ++i) {
    const auto* sprite = dynamic_cast<const TRaceSprite*>(engine.ChildAt(i));
    if (sprite == nullptr) continue;
    h.Add(std::string_view(typeid(*sprite).name()));
    h.Add(sprite->X), h.Add(sprite->Y), h.Add(sprite->Z());
    h.Add(sprite->Width), h.Add(sprite->Height), h.Add(sprite->FramePos);
    h.Add(sprite->Visible), h.Add(sprite->CanCollide), h.Add(sprite->IsDead());
  }
  return h.Value();
}

}  // namespace bd
