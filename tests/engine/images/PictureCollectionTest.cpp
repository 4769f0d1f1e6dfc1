#include <gtest/gtest.h>

#include "engine/images/PictureCollection.h"

namespace bd {
namespace {

constexpr uint32_t kKey = 0xFF00FF;  // fuchsia, 0x00BBGGRR
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;

// A w x h picture whose pixel (x, y) has the colour x + 256 * y, so every
// drawn pixel tells where it came from.
std::vector<uint32_t> Ramp(int32_t w, int32_t h) {
  std::vector<uint32_t> px;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) px.push_back(static_cast<uint32_t>(x + 256 * y));
  return px;
}

uint32_t ColorAt(const TDirectDrawSurface& s, int x, int y) { return RawToColor(s.Pixel(x, y)); }

TEST(PictureCollection, NameIndexFindsTheLastNamedIgnoringCase) {
  EXPECT_EQ(NameBucket("abc"), 243);
  TPictureCollection list;
  auto& first = list.Add();
  first.SetName("Car");
  auto& second = list.Add();
  second.SetName("car");
  EXPECT_EQ(&list.Find("CAR"), &second);
  // Renaming puts an item at the head of its new chain.
  first.SetName("x");
  first.SetName("Car");
  EXPECT_EQ(&list.Find("cAR"), &first);
  // Setting the same name again does not move it.
  second.SetName("car");
  EXPECT_EQ(&list.Find("car"), &first);
  list.Clear();
  try {
    list.Find("Car");
    FAIL() << "no error";
  } catch (const EPictureCollectionError& e) {
    EXPECT_STREQ(e.what(), "Image 'Car' not found");
  }
}

TEST(PictureCollection, CyrillicNamesMatchIgnoringCase) {
  TPictureCollection list;
  auto& item = list.Add();
  item.SetName("\xCC\xE0\xF8\xE8\xED\xE0");                  // "Машина" in Windows-1251
  EXPECT_EQ(&list.Find("\xEC\xC0\xD8\xC8\xCD\xC0"), &item);  // "мАШИНА"
}

TEST(PictureCollection, PatternGrid) {
  struct Case {
    int32_t picW, picH, patW, patH, skipW, skipH;
    int32_t total;
    int32_t probe;
    TRect bounds;
  };
  const Case cases[] = {
      {100, 40, 0, 0, 7, 9, 1, 0, {0, 0, 100, 40}},     // whole picture, skips ignored
      {100, 40, 100, 40, 5, 5, 1, 0, {0, 0, 100, 40}},  // pattern equal to the picture
      {100, 40, 30, 40, 5, 0, 3, 2, {70, 0, 100, 40}},  // 3 patterns at 0, 35, 70
      {101, 40, 30, 40, 5, 0, 3, 1, {35, 0, 65, 40}},  {99, 40, 30, 40, 5, 0, 2, 1, {35, 0, 65, 40}},
      {64, 64, 32, 16, 0, 0, 8, 5, {32, 32, 64, 48}},  // row by row, left to right
      {64, 70, 32, 32, 0, 3, 4, 3, {32, 35, 64, 67}},  // skipped rows between pattern rows
      {20, 20, 30, 10, 0, 0, 0, 0, {0, 0, 0, 0}},      // narrower than one cell
      {20, 20, -5, 10, 0, 0, 2, 1, {0, 10, 20, 20}},   // width 0 or less: the picture's
  };
  for (const auto& c : cases) {
    auto item = TPictureCollectionItem::FromPixels(c.picW, c.picH, Ramp(c.picW, c.picH));
    item->SetPatternWidth(c.patW);
    item->SetPatternHeight(c.patH);
    item->SetSkipWidth(c.skipW);
    item->SetSkipHeight(c.skipH);
    item->Restore();
    SCOPED_TRACE(testing::Message() << c.picW << "x" << c.picH << " pattern " << c.patW << "x" << c.patH);
    EXPECT_EQ(item->PatternTotal(), c.total);
    EXPECT_EQ(item->PatternBounds(c.probe), c.bounds);
    EXPECT_EQ(item->PatternBounds(-1), TRect{});
    EXPECT_EQ(item->PatternBounds(c.total), TRect{});
  }
}

TEST(PictureCollection, DrawPatternClipsAndHonoursTheKey) {
  // 2 patterns of 3 x 2: left one red with a keyed corner, right one blue.
  const uint32_t K = kKey, R = kRed, B = kBlue;
  auto item = TPictureCollectionItem::FromPixels(6, 2,
                                                 {K, R, R, B, B, B,  //
                                                  R, R, R, B, B, B},
                                                 3, 2, kKey);
  ASSERT_EQ(item->PatternTotal(), 2);
  TDirectDrawSurface dest(4, 4);
  item->DrawPattern(dest, 0, 0, 0);
  EXPECT_EQ(ColorAt(dest, 0, 0), 0u);  // keyed pixel left the background
  EXPECT_EQ(ColorAt(dest, 1, 0), kRed);
  EXPECT_EQ(ColorAt(dest, 2, 1), kRed);

  item->DrawPattern(dest, 2, 3, 1);  // partly off the surface
  EXPECT_EQ(ColorAt(dest, 3, 3), kBlue);
  EXPECT_EQ(ColorAt(dest, 2, 2), 0u);

  item->DrawPattern(dest, -2, 2, 0);  // off the left edge
  EXPECT_EQ(ColorAt(dest, 0, 2), kRed);

  // Out-of-range indexes draw nothing.
  TDirectDrawSurface clean(4, 4);
  item->DrawPattern(clean, 0, 0, -1);
  item->DrawPattern(clean, 0, 0, 2);
  item->DrawPatternScaled(clean, Bounds(0, 0, 4, 4), 2);
  item->DrawPatternScaled(clean, TRect{1, 0, 1, 4}, 0);  // zero width
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(clean.Pixel(x, y), 0u);

  // Not transparent: the key colour is drawn like any other.
  item->SetTransparent(false);
  item->DrawPattern(clean, 0, 0, 0);
  EXPECT_EQ(ColorAt(clean, 0, 0), kKey);

  // A new key takes effect on the existing display copy at once.
  item->SetTransparent(true);
  item->SetTransparentColor(kRed);
  TDirectDrawSurface third(4, 4);
  item->DrawPattern(third, 0, 0, 0);
  EXPECT_EQ(ColorAt(third, 0, 0), kKey);
  EXPECT_EQ(ColorAt(third, 1, 0), 0u);
}

TEST(PictureCollection, SystemColourKeysResolveToTheFixedScheme) {
  const uint32_t face = 0xC8D0D4;  // button face (212, 208, 200)
  auto item = TPictureCollectionItem::FromPixels(2, 1, {face, kRed}, 0, 0, 0xFF00000F);
  EXPECT_EQ(item->TransparentRGB(), face);
  TDirectDrawSurface dest(2, 1);
  item->DrawPattern(dest, 0, 0, 0);
  EXPECT_EQ(ColorAt(dest, 0, 0), 0u);
  EXPECT_EQ(ColorAt(dest, 1, 0), kRed);
}

TEST(PictureCollection, DrawPatternScaledStretchesAndCaches) {
  const uint32_t K = kKey, R = kRed, B = kBlue;
  auto item = TPictureCollectionItem::FromPixels(2, 2, {K, R, B, R}, 0, 0, kKey);
  TDirectDrawSurface dest(8, 8);
  item->DrawPatternScaled(dest, TRect{1, 1, 5, 5}, 0);  // doubled
  EXPECT_EQ(ColorAt(dest, 1, 1), 0u);
  EXPECT_EQ(ColorAt(dest, 2, 2), 0u);
  EXPECT_EQ(ColorAt(dest, 3, 1), kRed);
  EXPECT_EQ(ColorAt(dest, 4, 2), kRed);
  EXPECT_EQ(ColorAt(dest, 1, 3), kBlue);
  EXPECT_EQ(ColorAt(dest, 2, 4), kBlue);
  EXPECT_EQ(ColorAt(dest, 5, 5), 0u);

  // The cached copy of that size gives the same picture again, and a
  // later key change reaches it too.
  item->SetTransparent(false);
  item->DrawPatternScaled(dest, TRect{1, 1, 5, 5}, 0);
  EXPECT_EQ(ColorAt(dest, 1, 1), kKey);

  // A huge box, far larger than any cached copy, draws its visible part.
  item->SetTransparent(true);
  TDirectDrawSurface big(8, 8);
  item->DrawPatternScaled(big, TRect{-10000, -10000, 10000, 10000}, 0);
  EXPECT_EQ(ColorAt(big, 0, 0), kRed);  // right-top quarter starts at x = 0
  EXPECT_EQ(ColorAt(big, 7, 7), kRed);
  TDirectDrawSurface big2(8, 8);
  item->DrawPatternScaled(big2, TRect{-9000, -9000, 9000, 3}, 0);
  EXPECT_EQ(ColorAt(big2, 0, 0), kRed);  // lower half, right column
  EXPECT_EQ(ColorAt(big2, 0, 2), kRed);
  EXPECT_EQ(ColorAt(big2, 0, 3), 0u);
}

TEST(PictureCollection, PatternPixelIsRelativeToThePattern) {
  auto item = TPictureCollectionItem::FromPixels(8, 4, Ramp(8, 4), 4, 2, kKey);
  ASSERT_EQ(item->PatternTotal(), 4);
  EXPECT_EQ(item->PatternPixel(3, 1, 1), 5u + 256 * 3);
  EXPECT_EQ(item->PatternPixel(0, 0, 0), 0u);
  // Outside the pattern or for a bad index: the transparent colour.
  EXPECT_EQ(item->PatternPixel(0, 4, 0), kKey);
  EXPECT_EQ(item->PatternPixel(4, 0, 0), kKey);
}

TEST(PictureCollection, FinalizeDropsDisplayCopiesUntilRestored) {
  TPictureCollection list;
  list.Initialize(nullptr);
  auto& item = list.Add();
  item.SetPicture(std::make_unique<TDIB>(TDibImage{1, 1, 32, {ColorToRaw(kRed)}, {}}));
  TDirectDrawSurface dest(1, 1);
  item.DrawPattern(dest, 0, 0, 0);  // not restored yet
  EXPECT_EQ(dest.Pixel(0, 0), 0u);
  list.Restore();
  EXPECT_EQ(item.PatternTotal(), 1);
  item.DrawPattern(dest, 0, 0, 0);
  EXPECT_EQ(ColorAt(dest, 0, 0), kRed);
  list.Finalize();
  EXPECT_FALSE(item.Initialized());
  EXPECT_EQ(item.PatternTotal(), 0);
  dest.Fill(0);
  item.DrawPattern(dest, 0, 0, 0);
  EXPECT_EQ(dest.Pixel(0, 0), 0u);
}

TEST(PictureCollection, BuildColorTableAddsPaletteColoursOnce) {
  TPictureCollection list;
  // An 8-bit bitmap with two colours, one of them already a fixed entry.
  TDibImage dib{1, 1, 8, {0}, {0x00123456, 0x00FFFFFF}};
  list.Add().SetPicture(std::make_unique<TDIB>(dib));
  TDibImage second{1, 1, 8, {0}, {0x00123456, 0x00010203}};
  list.Add().SetPicture(std::make_unique<TDIB>(second));
  list.Add();  // no picture
  list.BuildColorTable();
  EXPECT_EQ(list.ColorTable[7], (TPaletteEntry{192, 192, 192, 0}));
  EXPECT_EQ(list.ColorTable[249], (TPaletteEntry{0, 0, 255, 0}));
  EXPECT_EQ(list.ColorTable[8], (TPaletteEntry{0x56, 0x34, 0x12, 0}));
  EXPECT_EQ(list.ColorTable[9], (TPaletteEntry{0x03, 0x02, 0x01, 0}));
  EXPECT_EQ(list.ColorTable[10], TPaletteEntry{});
}

}  // namespace
}  // namespace bd
