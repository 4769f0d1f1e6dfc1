#include "Watch.h"

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#if defined(__SANITIZE_ADDRESS__)
#define BD_SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BD_SOAK_ASAN 1
#endif
#endif
#ifdef BD_SOAK_ASAN
// The sanitizer runtime's count of live heap bytes (declared here: not every
// compiler ships the header that declares it).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace soak {

namespace {

// The main menu counts as settled after this long; its heap is then the
// resting heap of the game (menu pictures loaded, race ones released).
constexpr uint32_t kRestAfterMs = 1000;
constexpr uint64_t kMemoryEveryMs = 1000;

std::string Describe(uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1024.0 * 1024.0));
  return text;
}

}  // namespace

TMemory SampleMemory() {
  TMemory m;
#ifdef BD_SOAK_ASAN
  // The sanitizer's allocator keeps the exact count; mallinfo knows nothing
  // of it.
  m.Heap = __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 info = mallinfo2();
  m.Heap = info.uordblks + info.hblkhd;
#endif
  std::ifstream statm("/proc/self/statm");
  uint64_t size = 0, resident = 0;
  if (statm >> size >> resident) m.Rss = resident * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
  return m;
}

const char* HeapMeasure() {
#ifdef BD_SOAK_ASAN
  return "bytes allocated (AddressSanitizer allocator)";
#else
  return "bytes in use (mallinfo2)";
#endif
}

int CountSprites(const bd::TSprite& root) {
  int n = 0;
  for (int32_t i = 0; i < root.ChildCount(); ++i) n += 1 + CountSprites(*root.ChildAt(i));
  return n;
}

void TWatch::Attach(bd::THeadlessPlatform& platform, bd::TApplication& app, bd::TMainForm& form) {
  platform_ = &platform;
  app_ = &app;
  form_ = &form;
  lastPresents_ = platform.window.PresentCount();
  lastFrameAt_ = platform.clock.Milliseconds();
  lastSignature_.clear();
  progressAt_ = lastFrameAt_;
  raceRunsAt_ = lastFrameAt_;
  restScreen_ = 0;
  restTaken_ = false;
}

void TWatch::Detach() {
  if (platform_) figures_.FramesDrawn += platform_->window.PresentCount();
  platform_ = nullptr;
  app_ = nullptr;
  form_ = nullptr;
}

std::string TWatch::Signature() const {
  // What changes while a screen makes progress: the race's state, the
  // screen and its page, the open confirmations, the exit screen's countdown.
  const bd::TRaceState& s = form_->RaceState;
  char text[160];
  std::snprintf(text, sizeof text, "%d|%d|%d|%d|%d|%d|%d|%d|%d|%d|%d|%d|%d", form_->CurrentScreen, s.Level, s.Lives,
                s.Distance, s.Health, s.Score, s.Speed, s.LevelEndState, form_->HelpPage,
                form_->GameMainExit.Checked, form_->GameClearHighScore.Checked, form_->GameEnterName.Checked,
                form_->ShareScreen.Countdown);
  return text;
}

bool TWatch::RaceStandsUnexplained() const {
  // The blinking car keeps the picture changing, so a frozen race is judged
  // by its state: it stands while the player sees no pause, no question,
  // no level caption and no level end, and the game has not ended.
  const bd::TRaceState& s = form_->RaceState;
  return form_->CurrentScreen == bd::screen::Race && !s.RaceRunning && !s.Paused && !s.GameOver &&
         !form_->GameMainExit.Checked && !form_->RaceHost().LevelTimerEnabled() &&
         !form_->RaceHost().LevelCompleteTimerEnabled() && s.LevelEndState == 0;
}

std::string TWatch::Check(uint64_t gameMs, bool holdingStill) {
  if (form_ == nullptr || app_->Terminated()) return {};
  const uint32_t now = platform_->clock.Milliseconds();
  char text[256];

  // Frames keep coming while the game is in front.
  const uint64_t presents = platform_->window.PresentCount();
  if (presents != lastPresents_ || !app_->Active()) {
    lastPresents_ = presents;
    lastFrameAt_ = now;
  } else if (now - lastFrameAt_ > limits_.FrameStallMs) {
    std::snprintf(text, sizeof text, "no frame drawn for %.1f s of game time on screen %d",
                  (now - lastFrameAt_) / 1000.0, form_->CurrentScreen);
    return text;
  }

  // The game moves on: the race drives, screens change, countdowns run.
  const std::string signature = Signature();
  if (signature != lastSignature_ || holdingStill || !app_->Active()) {
    lastSignature_ = signature;
    progressAt_ = now;
  } else if (now - progressAt_ > limits_.StuckMs) {
    std::snprintf(text, sizeof text, "stuck: nothing changed for %.1f s of game time (screen|level|lives|distance|"
                  "health|score|speed|level end|help page|exit|clear|name|countdown = %s)",
                  (now - progressAt_) / 1000.0, signature.c_str());
    return text;
  }

  // A race stands still only for a reason the player can see.
  if (!RaceStandsUnexplained() || !app_->Active()) {
    raceRunsAt_ = now;
  } else if (now - raceRunsAt_ > limits_.RaceStillMs) {
    std::snprintf(text, sizeof text,
                  "the race has stood still for %.1f s of game time with neither the pause, a confirmation, "
                  "the level caption nor the level end shown",
                  (now - raceRunsAt_) / 1000.0);
    return text;
  }

  // The sprite tree stays bounded.
  const int sprites = CountSprites(form_->SpriteEngine.Engine());
  if (figures_.SpritesStart < 0 && presents > 0) figures_.SpritesStart = sprites;
  figures_.SpritesEnd = sprites;
  figures_.SpritesMax = std::max(figures_.SpritesMax, sprites);
  if (sprites > limits_.MaxSprites) {
    std::snprintf(text, sizeof text, "%d sprites in the tree on screen %d, more than the bound of %d", sprites,
                  form_->CurrentScreen, limits_.MaxSprites);
    return text;
  }

  // Memory: sampled every second of game time, and once on every settled
  // main menu.
  const bool warm = gameMs >= limits_.WarmupMs;
  if (form_->CurrentScreen != restScreen_) {
    restScreen_ = form_->CurrentScreen;
    screenSince_ = now;
    restTaken_ = false;
  }
  const bool rest = restScreen_ == bd::screen::MainMenu && !restTaken_ && now - screenSince_ >= kRestAfterMs;
  if (gameMs >= nextMemorySample_ || rest) {
    nextMemorySample_ = gameMs + kMemoryEveryMs;
    const TMemory m = SampleMemory();
    if (figures_.MemoryStart.Heap == 0) figures_.MemoryStart = m;
    figures_.MemoryEnd = m;
    figures_.MemoryMax.Heap = std::max(figures_.MemoryMax.Heap, m.Heap);
    figures_.MemoryMax.Rss = std::max(figures_.MemoryMax.Rss, m.Rss);
    if (!warm) figures_.WarmupPeak = std::max(figures_.WarmupPeak, m.Heap);
    if (warm) figures_.PeakAfterWarmup = std::max(figures_.PeakAfterWarmup, m.Heap);
    if (rest) {
      restTaken_ = true;
      if (limits_.Trace)
        std::printf("soak: resting heap %s after %.1f s of game time\n", Describe(m.Heap).c_str(),
                    static_cast<double>(gameMs) / 1000.0);
      if (warm) {
        if (figures_.RestSamples++ == 0) figures_.RestFirst = m.Heap;
        figures_.RestLast = m.Heap;
        figures_.RestMax = std::max(figures_.RestMax, m.Heap);
        if (m.Heap > figures_.RestFirst + limits_.HeapGrowthBytes)
          return "the resting heap grew from " + Describe(figures_.RestFirst) + " to " + Describe(m.Heap) +
                 " on the main menu, more than the bound of " + Describe(limits_.HeapGrowthBytes);
      }
    }
  }
  return {};
}

}  // namespace soak
