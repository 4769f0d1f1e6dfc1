#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "engine/sprites/BackgroundSprite.h"
#include "engine/sprites/ImageSprite.h"
#include "engine/images/PictureCollection.h"
#include "engine/display/Surface.h"

namespace bd {
namespace {

constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;
constexpr uint32_t kKey = 0xFF00FF;  // magenta: the colour key of every test image

// An image of `colors.size()` patterns of w x h side by side, each filled
// with its colour; `holes` lists pixels (pattern, x, y) painted with the key.
std::unique_ptr<TPictureCollectionItem> StripImage(int32_t w, int32_t h, const std::vector<uint32_t>& colors,
                                                   const std::vector<std::array<int32_t, 3>>& holes = {}) {
  const int32_t width = w * static_cast<int32_t>(colors.size());
  std::vector<uint32_t> pixels(static_cast<size_t>(width * h));
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < width; ++x)
      pixels[static_cast<size_t>(y * width + x)] = colors[static_cast<size_t>(x / w)];
  for (auto [p, x, y] : holes) pixels[static_cast<size_t>(y * width + p * w + x)] = kKey;
  return TPictureCollectionItem::FromPixels(width, h, std::move(pixels), w, h, kKey, true);
}

// An engine drawing on a black surface of the given size.
struct Scene {
  Scene(int w, int h) : surface(w, h) { engine.AttachSurface(&surface); }
  uint32_t At(int x, int y) const { return RawToColor(surface.Pixel(x, y)); }
  TDirectDrawSurface surface;
  TSpriteEngine engine;
};

TEST(ImageSprite, AnimationSteps) {
  struct Case {
    int32_t count;
    bool loop;
    double pos, speed;
    int32_t move;
    double endPos, endSpeed;
  };
  const Case cases[] = {
      {4, true, 3.5, 0.25, 16, 3.5, 0.25},   // 7.5 less one cycle
      {4, false, 3.5, 0.25, 16, 3, 0},       // stops on the last pattern
      {4, true, 0.5, -0.25, 4, 3.5, -0.25},  // backwards past 0 wraps to the end
      {4, true, 0, -1, 9, 3, -1},            // -9: two cycles off, then lifted
      {4, true, 0, 1, 8, 0, 1},              // exactly two cycles
      {4, false, 0.5, -0.25, 4, 0, 0},       // backwards one-shot stops at 0
      {4, false, 1, 0.25, 4, 2, 0.25},       // still running
      {0, true, 2, 1, 1, 0, 1},              // nothing to loop over
      {0, false, 0, 0.5, 1, 0, 0},           // nothing to play: stopped at 0
      {3, true, 0, 0.2, 16, 0.2, 0.2},       // 3.2 wraps to 0.2
  };
  for (const Case& c : cases) {
    TImageSprite s(nullptr);
    s.FrameCount = c.count;
    s.FrameLoop = c.loop;
    s.FramePos = c.pos;
    s.FrameSpeed = c.speed;
    s.Step(c.move);
    EXPECT_NEAR(s.FramePos, c.endPos, 1e-9) << c.count << " " << c.loop << " " << c.pos << " " << c.move;
    EXPECT_EQ(s.FrameSpeed, c.endSpeed) << c.count << " " << c.loop << " " << c.pos << " " << c.move;
  }
}

TEST(ImageSprite, CurrentPatternAndImageRect) {
  TSpriteEngine engine;
  auto image = StripImage(10, 10, {kRed});
  auto* s = new TImageSprite(&engine);
  s->FrameStart = 3;
  s->FramePos = 2.9;
  EXPECT_EQ(s->CurrentPattern(), 5);
  s->FramePos = -0.5;
  EXPECT_EQ(s->CurrentPattern(), 3);

  s->Image = image.get();
  s->X = 10.7;
  s->Y = 20;
  s->Width = 30;
  s->Height = 21;
  EXPECT_EQ(s->ImageRect(), Bounds(20, 25, 30, 21));  // centred: (30-10)/2, (21-10)/2
  s->Width = 5;
  s->Height = 7;
  EXPECT_EQ(s->ImageRect(), Bounds(8, 19, 5, 7));  // (5-10)/2 = -2 and (7-10)/2 = -1, truncated toward zero
}

TEST(ImageSprite, RenderCopiesOrStretchesTheCurrentPattern) {
  Scene scene(32, 32);
  // Pattern 1 is green with a keyed top-left corner.
  auto image = StripImage(4, 4, {kRed, kGreen}, {{1, 0, 0}});
  auto* s = new TImageSprite(&scene.engine);
  s->Image = image.get();
  s->X = 1.9;  // the box starts at 1
  s->Y = 2;
  s->Width = s->Height = 4;
  s->FrameStart = 1;
  scene.engine.DrawAll();
  EXPECT_EQ(scene.At(1, 2), 0u);  // the keyed pixel lets the black through
  EXPECT_EQ(scene.At(2, 2), kGreen);
  EXPECT_EQ(scene.At(4, 5), kGreen);
  EXPECT_EQ(scene.At(5, 5), 0u);
  EXPECT_EQ(scene.At(0, 3), 0u);

  // A box twice the pattern's size stretches it.
  scene.surface.Fill(0);
  s->FrameStart = 0;
  s->X = 10;
  s->Y = 10;
  s->Width = s->Height = 8;
  scene.engine.DrawAll();
  EXPECT_EQ(scene.At(10, 10), kRed);
  EXPECT_EQ(scene.At(17, 17), kRed);
  EXPECT_EQ(scene.At(18, 17), 0u);
  EXPECT_EQ(scene.At(17, 18), 0u);

  // A pattern outside the image, or no image at all, draws nothing.
  for (int variant = 0; variant < 2; ++variant) {
    scene.surface.Fill(0);
    s->FrameStart = variant == 0 ? 2 : 0;
    s->Image = variant == 0 ? image.get() : nullptr;
    scene.engine.DrawAll();
    EXPECT_EQ(scene.At(12, 12), 0u) << variant;
    EXPECT_EQ(scene.engine.DrawnCount(), 1) << variant;
  }
}

TEST(ImageSprite, PixelPreciseHitTest) {
  TSpriteEngine engine;
  // 4 x 4 patterns: "ring" is opaque only in its left column, "dot" only at (3, 3).
  std::vector<std::array<int32_t, 3>> ringHoles, dotHoles;
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x) {
      if (x != 0) ringHoles.push_back({0, x, y});
      if (x != 3 || y != 3) dotHoles.push_back({0, x, y});
    }
  auto ring = StripImage(4, 4, {kBlue}, ringHoles);
  auto dot = StripImage(4, 4, {kWhite}, dotHoles);
  auto* a = new TImageSprite(&engine);
  auto* b = new TImageSprite(&engine);
  a->Image = ring.get();
  b->Image = dot.get();
  a->Width = a->Height = b->Width = b->Height = 4;
  a->PixelPrecise = true;

  struct Case {
    double bx, by;
    bool hit;
  };
  const Case cases[] = {
      {-3, 0, true},   // b's opaque (3, 3) lands on a's opaque (0, 3)
      {-3, -1, true},  // ... or on (0, 2)
      {-3, 1, false},  // below a: only transparent pixels of b meet a's column
      {-2, 0, false},  // b's opaque pixel lands on a's transparent (1, 3)
      {0, 0, false},   // only transparent pairs meet
      {-4, 0, false},  // the patterns only touch
  };
  for (const Case& c : cases) {
    b->X = c.bx;
    b->Y = c.by;
    EXPECT_EQ(a->HitTest(*b), c.hit) << c.bx << "," << c.by;
  }

  // Only the asking sprite's flag matters; other kinds of sprite always hit.
  b->X = b->Y = 0;
  EXPECT_TRUE(b->HitTest(*a));
  TSprite plain(nullptr);
  EXPECT_TRUE(a->HitTest(plain));
  // No image or no valid pattern on either side: no hit.
  b->X = -3;
  b->FrameStart = 1;
  EXPECT_FALSE(a->HitTest(*b));
  b->FrameStart = 0;
  a->Image = nullptr;
  EXPECT_FALSE(a->HitTest(*b));
}

TEST(BackgroundSprite, MapCells) {
  TSpriteEngine engine;
  auto* bg = new TBackgroundSprite(&engine);
  EXPECT_FALSE(bg->CanCollide);
  EXPECT_EQ(bg->PatternAt(0, 0), -1);

  bg->ResizeMap(3, 2);
  EXPECT_EQ(bg->PatternAt(2, 1), 0);
  EXPECT_TRUE(bg->SolidAt(2, 1));
  bg->SetPatternAt(1, 1, 7);
  bg->SetSolidAt(1, 1, false);
  const std::pair<int32_t, int32_t> outside[] = {{-1, 0}, {3, 0}, {0, -1}, {0, 2}};
  for (auto [c, r] : outside) {
    EXPECT_EQ(bg->PatternAt(c, r), -1) << c << "," << r;
    EXPECT_FALSE(bg->SolidAt(c, r)) << c << "," << r;
  }

  bg->ResizeMap(3, 2);  // the same size keeps the cells
  EXPECT_EQ(bg->PatternAt(1, 1), 7);
  EXPECT_FALSE(bg->SolidAt(1, 1));
  bg->ResizeMap(3, 3);  // any other size resets them
  EXPECT_EQ(bg->PatternAt(1, 1), 0);
  EXPECT_TRUE(bg->SolidAt(1, 1));
  bg->ResizeMap(0, 5);
  EXPECT_EQ(bg->MapCols(), 0);
  EXPECT_EQ(bg->MapRows(), 0);
  EXPECT_EQ(bg->PatternAt(0, 0), -1);
}

TEST(BackgroundSprite, EndlessMapCoversTheSurface) {
  // 64-pixel tiles, a map of one column and five rows, row n showing pattern n.
  Scene scene(800, 600);
  const std::vector<uint32_t> colors = {0x000011, 0x000022, 0x000033, 0x000044, 0x000055};
  auto image = StripImage(64, 64, colors);
  auto* bg = new TBackgroundSprite(&scene.engine);
  bg->Image = image.get();
  bg->Endless = true;
  bg->ResizeMap(1, 5);
  for (int32_t n = 0; n < 5; ++n) bg->SetPatternAt(0, n, n);
  bg->Y = 250;
  EXPECT_EQ(bg->GetBounds(), scene.engine.SurfaceRect());
  scene.engine.DrawAll();

  // Screen row r lies at r * 64 + 58 and shows map row r - 3, wrapped.
  for (int32_t r = -1; r <= 9; ++r) {
    const uint32_t expected = colors[static_cast<size_t>(PositiveMod(r - 3, 5))];
    for (int32_t y : {r * 64 + 58, r * 64 + 58 + 63}) {
      if (y < 0 || y >= 600) continue;
      EXPECT_EQ(scene.At(0, y), expected) << "row " << r << " y " << y;
      EXPECT_EQ(scene.At(799, y), expected) << "row " << r << " y " << y;
    }
  }
  EXPECT_EQ(scene.At(400, 250), colors[0]);

  // Scrolled left by a fraction of a tile, the right edge is still covered.
  bg->X = -30.6;
  scene.surface.Fill(0);
  scene.engine.DrawAll();
  EXPECT_EQ(scene.At(799, 599), colors[static_cast<size_t>(PositiveMod(8 - 3, 5))]);  // screen row 8
}

TEST(BackgroundSprite, BoundedMapDrawsOnlyItsCells) {
  Scene scene(100, 100);
  auto image = StripImage(16, 16, {kRed, kGreen});
  auto* bg = new TBackgroundSprite(&scene.engine);
  bg->Image = image.get();
  bg->ResizeMap(3, 2);
  // Row 0: red, green, empty. Row 1: green, red, red.
  bg->SetPatternAt(1, 0, 1);
  bg->SetPatternAt(2, 0, -1);
  bg->SetPatternAt(0, 1, 1);
  bg->X = -8;
  bg->Y = 20;
  EXPECT_EQ(bg->GetBounds(), Bounds(-8, 20, 48, 32));
  scene.engine.DrawAll();
  struct Probe {
    int x, y;
    uint32_t color;
  };
  const Probe probes[] = {
      {0, 20, kRed},  {7, 35, kRed}, {8, 20, kGreen}, {24, 20, 0}, {0, 36, kGreen},
      {30, 51, kRed}, {40, 40, 0},   {0, 19, 0},      {0, 52, 0},
  };
  for (const Probe& p : probes) EXPECT_EQ(scene.At(p.x, p.y), p.color) << p.x << "," << p.y;

  // Scrolled further left than whole cells: the first cells are skipped.
  bg->X = -40;
  scene.surface.Fill(0);
  scene.engine.DrawAll();
  EXPECT_EQ(scene.At(0, 20), 0u);    // cell 2 of row 0 is empty
  EXPECT_EQ(scene.At(0, 36), kRed);  // cell 2 of row 1
  EXPECT_EQ(scene.At(8, 36), 0u);    // past the map's right edge

  bg->Image = nullptr;
  EXPECT_EQ(bg->GetBounds(), TRect{});
}

TEST(BackgroundSprite, HitTestFindsSolidCells) {
  TSpriteEngine engine;
  auto image = StripImage(16, 16, {kRed});
  auto* bg = new TBackgroundSprite(&engine);
  bg->Image = image.get();
  bg->ResizeMap(3, 2);
  bg->SetSolidAt(1, 0, false);
  auto* other = new TSprite(&engine);
  other->Width = other->Height = 4;
  struct Case {
    double x, y;
    bool hit;
  };
  const Case cases[] = {
      {18, 2, false},  // inside the one non-solid cell
      {14, 2, true},   // reaches into solid cell (0, 0)
      {18, 18, true},  // cell (1, 1)
      {60, 2, false},  // outside the map
  };
  for (const Case& c : cases) {
    other->X = c.x;
    other->Y = c.y;
    EXPECT_EQ(bg->HitTest(*other), c.hit) << c.x << "," << c.y;
  }

  // Backgrounds stay out of collisions until asked; then only solid cells hit.
  other->X = 18;
  other->Y = 2;
  EXPECT_EQ(other->Collide(), 0);
  bg->CanCollide = true;
  EXPECT_EQ(other->Collide(), 0);
  other->Y = 18;
  EXPECT_EQ(other->Collide(), 1);

  bg->ResizeMap(0, 0);  // an empty map answers true
  EXPECT_TRUE(bg->HitTest(*other));
}

}  // namespace
}  // namespace bd
