#include <gtest/gtest.h>

#include "common/ArchiveWriter.h"
#include "engine/images/DXImageList.h"
#include "engine/platform/headless/Headless.h"

namespace bd {
namespace {

// One 4 x 2 image "car": two 2 x 2 patterns, fuchsia as the key.
std::vector<uint8_t> CarArchive() {
  TImageArchive archive;
  TImageArchiveItem car;
  car.Name = "car";
  car.PatternWidth = 2;
  car.PatternHeight = 2;
  car.TransparentColor = std::string("clFuchsia");
  car.Picture = TPictureData::Dib(EncodeDib(TPixels{4,
                                                    2,
                                                    {0xFF00FF, 0x0000FF, 0x00FF00, 0x00FF00,  //
                                                     0x0000FF, 0x0000FF, 0x00FF00, 0x00FF00}},
                                            {TDibFormat::Pal8, {}, false}));
  archive.Items.push_back(car);
  return WriteImageArchive(archive);
}

uint32_t At(TDXDraw& draw, int x, int y) { return RawToColor(draw.BackBuffer()->Pixel(x, y)); }

TEST(DXImageList, DisplayCopiesFollowTheDisplay) {
  THeadlessWindow window;
  TDXDraw draw(&window);
  TDXImageList images;
  images.SetDXDraw(&draw);
  images.Items().LoadFromMemory(CarArchive());
  auto& car = images.FindImage("CAR");
  EXPECT_EQ(car.PatternTotal(), 0);  // the display is not up yet

  draw.InitializeDisplay();
  EXPECT_TRUE(images.Items().Initialized());
  ASSERT_EQ(car.PatternTotal(), 2);
  draw.FillSurface(0);
  car.DrawPattern(*draw.BackBuffer(), 10, 10, 0);
  EXPECT_EQ(At(draw, 10, 10), 0u);  // keyed corner
  EXPECT_EQ(At(draw, 11, 10), 0x0000FFu);
  car.DrawPatternScaled(*draw.BackBuffer(), TRect{20, 20, 26, 26}, 1);  // tripled
  EXPECT_EQ(At(draw, 25, 25), 0x00FF00u);
  EXPECT_EQ(At(draw, 26, 26), 0u);

  // Loading while the display is up restores at once.
  images.Items().LoadFromMemory(CarArchive());
  EXPECT_EQ(images.FindImage("car").PatternTotal(), 2);

  draw.FinalizeDisplay();
  EXPECT_FALSE(images.Items().Initialized());
  EXPECT_EQ(images.FindImage("car").PatternTotal(), 0);
  EXPECT_FALSE(images.FindImage("car").Initialized());

  // Switching display modes brings the pictures back from memory.
  draw.InitializeDisplay();
  EXPECT_EQ(images.FindImage("car").PatternTotal(), 2);
}

TEST(DXImageList, JoiningADisplayThatIsUpRestoresAtOnce) {
  THeadlessWindow window;
  auto draw = std::make_unique<TDXDraw>(&window);
  draw->InitializeDisplay();
  TDXImageList images;
  images.Items().LoadFromMemory(CarArchive());
  images.SetDXDraw(draw.get());
  EXPECT_EQ(images.FindImage("car").PatternTotal(), 2);
  EXPECT_EQ(images.Items().DXDraw(), draw.get());

  // Leaving the display drops the copies; a destroyed display is forgotten.
  images.SetDXDraw(nullptr);
  EXPECT_EQ(images.FindImage("car").PatternTotal(), 0);
  images.SetDXDraw(draw.get());
  draw.reset();
  EXPECT_EQ(images.DXDraw(), nullptr);
}

TEST(DXImageList, InitialisingForADisplayThatIsDownFails) {
  THeadlessWindow window;
  TDXDraw draw(&window);
  TDXImageList images;
  try {
    images.DXDrawNotify(draw, TDXDrawNotifyType::Initialize);
    FAIL() << "no error";
  } catch (const EPictureCollectionError& e) {
    EXPECT_STREQ(e.what(), "TPictureCollection cannot be initialized");
  }
}

}  // namespace
}  // namespace bd
