// Cost of drawing a race-like scene: an endless 800-pixel-wide road behind
// 40 colour-keyed image sprites (two of them stretched), stepped, cleared and
// drawn twice per frame and presented on the headless platform. Reported per
// frame, per sprite drawn and as a multiple of a frame copy.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "FrameCost.h"
#include "engine/display/DXDraw.h"
#include "engine/sprites/DXSprite.h"
#include "engine/images/PictureCollection.h"
#include "engine/platform/headless/Headless.h"

namespace bd {
namespace {

constexpr uint32_t kKey = 0xFF00FF;

// A w x h picture in `color` with keyed corners (a round-ish car outline), so
// that every copy needs the colour key.
std::unique_ptr<TPictureCollectionItem> KeyedImage(int32_t w, int32_t h, uint32_t color, int32_t patterns) {
  const int32_t width = w * patterns;
  std::vector<uint32_t> pixels(static_cast<size_t>(width * h), color);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const int32_t px = x % w;
      const bool corner = (px < 6 || px >= w - 6) && (y < 6 || y >= h - 6);
      if (corner) pixels[static_cast<size_t>(y * width + x)] = kKey;
    }
  return TPictureCollectionItem::FromPixels(width, h, std::move(pixels), w, h, kKey, true);
}

// A road sprite moving down with the race's speed, animating like the game's.
class TBenchCar : public TImageSprite {
 public:
  using TImageSprite::TImageSprite;
  void Step(int32_t moveCount) override {
    TImageSprite::Step(moveCount);
    Y += 3;
    if (Y > 600) Y = -Height;
  }
};

void BM_RaceLikeScene(benchmark::State& state) {
  THeadlessPlatform platform;
  TDXDraw draw(&platform.window);
  TDXSpriteEngine component;
  component.SetDXDraw(&draw);
  draw.InitializeDisplay();
  TSpriteEngine& engine = component.Engine();

  auto road = KeyedImage(800, 60, 0x404040, 1);
  auto car = KeyedImage(48, 80, 0x2020C0, 4);
  auto bonus = KeyedImage(32, 32, 0x20C020, 2);

  auto* background = new TBackgroundSprite(&engine);
  background->Image = road.get();
  background->Endless = true;
  background->ResizeMap(200, 10);
  background->ChangeZ(-10);

  constexpr int kSprites = 40;
  for (int i = 0; i < kSprites; ++i) {
    auto* s = new TBenchCar(&engine);
    TPictureCollectionItem* image = i % 3 == 0 ? bonus.get() : car.get();
    s->Image = image;
    s->Width = image->Width();
    s->Height = image->Height();
    s->FrameCount = image->PatternTotal();
    s->FrameLoop = true;
    s->FrameSpeed = 0.2;
    s->X = 40 + (i % 8) * 90;
    s->Y = (i / 8) * 120 - 40;
    s->ChangeZ(i % 4);
    if (i < 2) {  // grown from frame to frame in the game (explosions, the chasm)
      s->Width = s->Width * 3 / 2;
      s->Height = s->Height * 3 / 2;
    }
  }

  bench::TFrameCost cost;
  cost.Start();
  for (auto _ : state) {
    component.MoveAll(1);
    background->Y += 3;
    component.RemoveDead();
    draw.FillSurface(0);
    component.DrawAll();
    component.DrawAll();
    draw.PresentFrame();
  }
  benchmark::DoNotOptimize(platform.window.Screen().Pixel(0, 0));
  const double sprites = static_cast<double>(kSprites + 1) * 2;  // drawn per frame
  state.counters["frame"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                               benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["sprite"] = benchmark::Counter(static_cast<double>(state.iterations()) * sprites,
                                                benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  cost.Report(state);
}
BENCHMARK(BM_RaceLikeScene)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace bd
