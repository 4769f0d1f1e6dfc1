#pragma once
// What the soak watches while the bot plays: frames must keep coming, the
// game must not stand on one screen without progress, the sprite tree must
// stay bounded, and the heap must not keep growing once the game has warmed
// up. Every check names what went wrong in its failure text.

#include <cstdint>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "engine/platform/headless/Headless.h"

namespace soak {

struct TMemory {
  uint64_t Heap = 0;  // bytes the program has allocated and not freed
  uint64_t Rss = 0;   // resident set size
};
TMemory SampleMemory();
// How SampleMemory measures the heap in this build.
const char* HeapMeasure();

// Every sprite below `root` (killed ones still waiting for removal too).
int CountSprites(const bd::TSprite& root);

struct TLimits {
  uint32_t FrameStallMs = 2000;    // no frame drawn for this long while active
  uint32_t StuckMs = 90000;        // no progress on the screen for this long
  // A race that stands still without the pause, a confirmation, its level
  // caption or its level end to show for it, for this long.
  uint32_t RaceStillMs = 5000;
  int MaxSprites = 400;            // sprites in the tree at any moment
  uint64_t WarmupMs = 60000;       // game time before the heap baseline is set
  uint64_t HeapGrowthBytes = 16u << 20;  // allowed growth of the resting heap
  bool Trace = false;                    // print every resting heap sample
};

class TWatch {
 public:
  explicit TWatch(const TLimits& limits) : limits_(limits) {}

  // A new game instance to watch.
  void Attach(bd::THeadlessPlatform& platform, bd::TApplication& app, bd::TMainForm& form);
  void Detach();

  // After every slice of game time. `gameMs` is the game time played in all
  // instances so far; `holdingStill` says the player keeps the game still on
  // purpose. Returns the failure, or "" while all is well.
  std::string Check(uint64_t gameMs, bool holdingStill);

  struct TFigures {
    int SpritesStart = -1, SpritesEnd = 0, SpritesMax = 0;
    TMemory MemoryStart, MemoryEnd, MemoryMax;
    // The heap each time the main menu had settled after warm-up.
    uint64_t RestFirst = 0, RestLast = 0, RestMax = 0;
    int RestSamples = 0;
    uint64_t WarmupPeak = 0, PeakAfterWarmup = 0;
    uint64_t FramesDrawn = 0;
  };
  const TFigures& Figures() const { return figures_; }

 private:
  std::string Signature() const;
  // Whether the race screen stands still with nothing on it to say why.
  bool RaceStandsUnexplained() const;

  TLimits limits_;
  bd::THeadlessPlatform* platform_ = nullptr;
  bd::TApplication* app_ = nullptr;
  bd::TMainForm* form_ = nullptr;

  uint64_t lastPresents_ = 0;
  uint32_t lastFrameAt_ = 0;
  std::string lastSignature_;
  uint32_t progressAt_ = 0;
  uint32_t raceRunsAt_ = 0;  // the last moment the race ran or had a reason not to
  uint8_t restScreen_ = 0;
  uint32_t screenSince_ = 0;
  bool restTaken_ = false;
  uint64_t nextMemorySample_ = 0;
  TFigures figures_;
};

}  // namespace soak
