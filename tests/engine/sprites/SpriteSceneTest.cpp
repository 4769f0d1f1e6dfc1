#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "common/ArchiveWriter.h"
#include "engine/images/DXImageList.h"
#include "engine/sprites/DXSprite.h"
#include "engine/platform/headless/Headless.h"

namespace bd {
namespace {

constexpr uint32_t kGrey = 0x808080, kBlue = 0xFF0000, kYellow = 0x00FFFF, kRed = 0x0000FF, kKey = 0xFF00FF;

TImageArchiveItem Item(const char* name, TPixels pixels, int32_t patternWidth = 0,
                       int32_t patternHeight = 0) {
  TImageArchiveItem item;
  item.Name = name;
  if (patternWidth > 0) item.PatternWidth = patternWidth;
  if (patternHeight > 0) item.PatternHeight = patternHeight;
  item.TransparentColor = std::string("clFuchsia");
  item.Picture = TPictureData::Dib(EncodeDib(pixels, {TDibFormat::Pal8, {}, false}));
  return item;
}

// "Road": a grey 16 x 16 tile. "Car": two 4 x 4 frames, blue then yellow,
// each with a keyed top-left pixel. "Boom": 2 x 2 red with a keyed
// bottom-right pixel.
std::vector<uint8_t> SceneArchive() {
  TImageArchive archive;
  archive.Items.push_back(Item("Road", TPixels{16, 16, std::vector<uint32_t>(256, kGrey)}));
  std::vector<uint32_t> car(32);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x)
      car[static_cast<size_t>(y * 8 + x)] = (x % 4 == 0 && y == 0) ? kKey : x < 4 ? kBlue : kYellow;
  archive.Items.push_back(Item("Car", TPixels{8, 4, car}, 4, 4));
  archive.Items.push_back(Item("Boom", TPixels{2, 2, {kRed, kRed, kRed, kKey}}));
  return WriteImageArchive(archive);
}

// A headless display with the scene archive's images, and a sprite engine
// drawing onto its back buffer.
class SpriteScene : public ::testing::Test {
 protected:
  SpriteScene() {
    draw.InitializeDisplay();
    images.SetDXDraw(&draw);
    images.Items().LoadFromMemory(SceneArchive());
    sprites.SetDXDraw(&draw);
  }
  THeadlessWindow window;
  TDXDraw draw{&window};
  TDXImageList images;
  TDXSpriteEngine sprites;
  TSpriteEngine& engine = sprites.Engine();
};

TImageSprite* MakeImageSprite(TSpriteEngine& engine, TPictureCollectionItem& image, double x, double y) {
  auto* s = new TImageSprite(&engine);
  s->Image = &image;
  s->Width = image.Width();
  s->Height = image.Height();
  s->FrameCount = image.PatternTotal();
  s->X = x;
  s->Y = y;
  return s;
}

TEST_F(SpriteScene, SpritesFromAnArchiveReachTheBackBuffer) {

  auto* road = new TBackgroundSprite(&engine);
  road->Image = &images.FindImage("road");
  road->Endless = true;
  road->ResizeMap(1, 1);
  road->Y = 5;
  road->ChangeZ(-1);
  // The car turns to its yellow frame after one frame of 16; the cover stays
  // blue and lies on top of the car's right half.
  TImageSprite* car = MakeImageSprite(engine, images.FindImage("CAR"), 10.6, 20);
  car->FrameLoop = true;
  car->FrameSpeed = 1.0 / 16;
  MakeImageSprite(engine, images.FindImage("Car"), 12, 20)->ChangeZ(1);
  // Boom stretched four times.
  TImageSprite* boom = MakeImageSprite(engine, images.FindImage("Boom"), 30, 30);
  boom->Width = boom->Height = 8;

  auto frame = [&] {
    sprites.MoveAll(16);
    sprites.RemoveDead();
    draw.FillSurface(0);
    sprites.DrawAll();
    draw.PresentFrame();
  };
  frame();
  struct Probe {
    int x, y;
    uint32_t color;
  };
  const Probe probes[] = {
      {0, 0, kGrey},     {799, 599, kGrey},  // the endless road covers everything
      {10, 20, kGrey},                       // the car's keyed corner shows the road
      {11, 20, kYellow}, {10, 21, kYellow},  // its second frame
      {12, 20, kYellow},                     // the cover's keyed corner shows the car
      {13, 20, kBlue},   {15, 23, kBlue},   {16, 20, kGrey},
      {30, 30, kRed},    {37, 33, kRed},    {33, 37, kRed},  // stretched Boom
      {34, 34, kGrey},   {37, 37, kGrey},                    // its keyed quarter, stretched too
      {38, 33, kGrey},
  };
  for (const Probe& p : probes)
    EXPECT_EQ(RawToColor(draw.BackBuffer()->Pixel(p.x, p.y)), p.color) << p.x << "," << p.y;
  EXPECT_EQ(RawToColor(window.Screen().Pixel(13, 20)), kBlue);
  EXPECT_EQ(engine.DrawnCount(), 4);

  // A killed sprite is gone from the next frame on.
  car->Kill();
  frame();
  EXPECT_EQ(RawToColor(draw.BackBuffer()->Pixel(11, 20)), kGrey);
  EXPECT_EQ(engine.SpriteCount(), 3);
}

// A screen that is cleared before its sprites are drawn skips the clearing
// when the first sprite drawn covers the whole back buffer with opaque
// pixels. Each case builds a first sprite (with others after it); when it
// is said to cover, a marker colour filled in before must be gone.
TEST_F(SpriteScene, FirstSpriteCoversTheBackBufferOnlyWhenOpaqueEverywhere) {
  auto endless = [&](const char* image, int32_t cols, int32_t rows) {
    auto* map = new TBackgroundSprite(&engine);
    map->Image = &images.FindImage(image);
    map->ResizeMap(cols, rows);
    map->Endless = true;
    map->X = -5;
    map->Y = 7;
    return map;
  };
  auto picture = [&](const char* image, double x, double y, int32_t w, int32_t h) {
    TImageSprite* s = MakeImageSprite(engine, images.FindImage(image), x, y);
    s->Width = w;
    s->Height = h;
    return s;
  };
  const struct {
    const char* name;
    std::function<void()> build;
    bool covers;
  } cases[] = {
      {"endless opaque road", [&] { endless("Road", 2, 3); }, true},
      {"endless map with a keyed tile", [&] { endless("Car", 1, 1); }, false},
      {"endless map with an empty cell", [&] { endless("Road", 2, 1)->SetPatternAt(1, 0, -1); }, false},
      {"road map of fixed size", [&] { endless("Road", 50, 38)->Endless = false; }, false},
      {"opaque picture stretched over everything", [&] { picture("Road", 0, 0, 800, 600); }, true},
      {"the same, one pixel short", [&] { picture("Road", 1, 0, 800, 600); }, false},
      {"stretched far beyond the screen", [&] { picture("Road", -3000, -2000, 7000, 5000); }, true},
      {"keyed picture stretched over everything", [&] { picture("Boom", 0, 0, 800, 600); }, false},
      {"invisible opaque road", [&] { endless("Road", 1, 1)->Visible = false; }, false},
  };
  constexpr uint32_t kMarker = 0x00ABCDEF;
  for (const auto& c : cases) {
    engine.ClearChildren();
    c.build();
    picture("Boom", 100, 100, 2, 2)->ChangeZ(1);  // drawn after the first
    EXPECT_EQ(sprites.DrawCoversSurface(), c.covers) << c.name;
    draw.FillSurface(kMarker);
    sprites.DrawAll();
    if (!c.covers) continue;
    const TDirectDrawSurface& buffer = *draw.BackBuffer();
    for (int y = 0; y < buffer.Height(); ++y)
      for (int x = 0; x < buffer.Width(); ++x)
        ASSERT_NE(buffer.Pixel(x, y), kMarker) << c.name << " " << x << "," << y;
  }
  // Nothing to draw on: nothing covers.
  sprites.SetDXDraw(nullptr);
  engine.ClearChildren();
  endless("Road", 1, 1);
  EXPECT_FALSE(sprites.DrawCoversSurface());
}

// Every sprite copy replaces the pixels it covers (keyed pixels leave them),
// so drawing the same tree a second time over its own picture changes
// nothing: the race relies on this to draw its sprites once per frame.
TEST_F(SpriteScene, DrawingTheTreeAgainChangesNothing) {

  // A patch of road that leaves most of the backdrop visible, cars crossing
  // it and each other, part off the picture, and explosions stretched to a
  // kept size and far beyond it.
  auto* road = new TBackgroundSprite(&engine);
  road->Image = &images.FindImage("Road");
  road->ResizeMap(3, 2);
  road->X = 790;
  road->Y = -7;
  road->ChangeZ(-1);
  for (int i = 0; i < 12; ++i) {
    TImageSprite* car = MakeImageSprite(engine, images.FindImage("Car"), 785 + i * 1.5, -2 + i);
    car->FramePos = i % 2;
    car->ChangeZ(i % 3);
  }
  TImageSprite* boom = MakeImageSprite(engine, images.FindImage("Boom"), 788, 3);
  boom->Width = 9;
  boom->Height = 5;
  TImageSprite* huge = MakeImageSprite(engine, images.FindImage("Boom"), -3000, 590);
  huge->Width = 7000;
  huge->Height = 3000;
  huge->ChangeZ(-2);

  draw.FillSurface(0x00123456);
  sprites.DrawAll();
  const TDirectDrawSurface& buffer = *draw.BackBuffer();
  std::vector<uint32_t> once;
  for (int y = 0; y < buffer.Height(); ++y)
    for (int x = 0; x < buffer.Width(); ++x) once.push_back(buffer.Pixel(x, y));
  sprites.DrawAll();
  size_t i = 0;
  for (int y = 0; y < buffer.Height(); ++y)
    for (int x = 0; x < buffer.Width(); ++x) ASSERT_EQ(buffer.Pixel(x, y), once[i++]) << x << "," << y;
}

}  // namespace
}  // namespace bd
