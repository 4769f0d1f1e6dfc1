#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "engine/base/ByteReader.h"
#include "common/ByteWriter.h"
#include "common/DibWriter.h"
#include "common/JpegWriter.h"
#include "engine/images/Dib.h"
#include "engine/images/Graphics.h"
#include "engine/images/Jpeg.h"
#include "common/Png.h"

namespace bd {
namespace {

using Bytes = std::vector<uint8_t>;

// A 40-byte header followed by `rest` (masks, colour table, pixels).
Bytes Dib(int32_t w, int32_t h, uint16_t bits, uint32_t compression, uint32_t colorsUsed, const Bytes& rest) {
  Bytes b;
  PutLe32(b, 40);
  PutLe32(b, static_cast<uint32_t>(w));
  PutLe32(b, static_cast<uint32_t>(h));
  PutLe16(b, 1);
  PutLe16(b, bits);
  PutLe32(b, compression);
  PutLe32(b, 0);
  PutLe32(b, 0);
  PutLe32(b, 0);
  PutLe32(b, colorsUsed);
  PutLe32(b, 0);
  b.insert(b.end(), rest.begin(), rest.end());
  return b;
}

// Colour table entries blue, green, red, 0 for raw colours 0x00RRGGBB.
Bytes Table(std::initializer_list<uint32_t> colors) {
  Bytes b;
  for (uint32_t c : colors) PutLe32(b, c);
  return b;
}

Bytes Cat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

constexpr uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, K = 0x000000;

// A whole bitmap file with a header of `size` (52 bytes or more): the 40-byte
// fields, the red, green, blue and alpha masks as far as they fit, zeros up
// to `size`; then the colour table, `gap` unused bytes and the pixels, which
// the file header's pixel offset points at.
Bytes LongHeaderFile(uint32_t size, int32_t w, int32_t h, uint16_t bits, uint32_t compression,
                     std::array<uint32_t, 4> masks, const Bytes& table, uint32_t gap, const Bytes& pixels) {
  Bytes dib = Dib(w, h, bits, compression, static_cast<uint32_t>(table.size() / 4), {});
  dib[0] = static_cast<uint8_t>(size);
  for (uint32_t m : masks) PutLe32(dib, m);
  dib.resize(size, 0);
  dib = Cat(Cat(Cat(dib, table), Bytes(gap, 0)), pixels);
  Bytes file = {'B', 'M'};
  PutLe32(file, static_cast<uint32_t>(14 + dib.size()));
  PutLe32(file, 0);
  PutLe32(file, static_cast<uint32_t>(14 + size + table.size() + gap));
  return Cat(file, dib);
}

TEST(Dib, DecodesTheVariants) {
  struct Case {
    const char* what;
    Bytes data;
    int32_t w, h;
    std::vector<uint32_t> pixels;  // raw, rows from the top
    bool wholeFile = false;        // a file with a header that only whole files may have
  };
  const Case cases[] = {
      {"1-bit, bottom-up rows padded to 4 bytes",
       Dib(3, 2, 1, 0, 2, Cat(Table({K, W}), {0xA0, 0, 0, 0, 0x40, 0, 0, 0})),
       3,
       2,
       {K, W, K, W, K, W}},
      {"4-bit with odd width",
       Dib(3, 1, 4, 0, 3, Cat(Table({K, R, G}), {0x12, 0x00, 0, 0})),
       3,
       1,
       {R, G, K}},
      {"8-bit top-down (negative height)",
       Dib(2, -2, 8, 0, 3, Cat(Table({R, G, B}), {0, 1, 0, 0, 2, 2, 0, 0})),
       2,
       2,
       {R, G, B, B}},
      {"8-bit, index past the table is black", Dib(1, 1, 8, 0, 1, Cat(Table({R}), {5, 0, 0, 0})), 1, 1, {K}},
      {"RLE8: run, literal, end of line, delta, end of bitmap",
       Dib(4, 3, 8, 1, 3,
           Cat(Table({K, R, G}), {2, 1, 0, 3, 2, 1, 2, 0,  // row 0 (bottom): R R then G R G cut at width 4
                                  0, 0,                    // end of line
                                  0, 2, 1, 1,              // delta: x+1, y+1 -> row 2 at x 1
                                  2, 2, 0, 1})),           // G G, end of bitmap; row 1 stays index 0
       4,
       3,
       {K, G, G, K, K, K, K, K, R, R, G, R}},
      {"RLE4: alternating run and literal",
       Dib(6, 1, 4, 2, 3, Cat(Table({K, R, G}), {3, 0x12, 0, 3, 0x21, 0x20, 0, 1})),
       6,
       1,
       {R, G, R, G, R, G}},
      {"16-bit defaults to 5-5-5", Dib(2, 1, 16, 0, 0, {0x00, 0x7C, 0x1F, 0x00}), 2, 1, {R, B}},
      {"16-bit 5-6-5 masks, channels widened exactly",
       Dib(2, 1, 16, 3, 0, Cat(Table({0xF800, 0x07E0, 0x001F}), {0xE0, 0x07, 0x10, 0x84})),
       2,
       1,
       {G, 0x848284}},
      {"24-bit", Dib(1, 1, 24, 0, 0, {0x01, 0x02, 0x03, 0}), 1, 1, {0x030201}},
      {"32-bit ignores the fourth byte", Dib(1, 1, 32, 0, 0, {0x01, 0x02, 0x03, 0xFF}), 1, 1, {0x030201}},
      {"32-bit masks",
       Dib(1, 1, 32, 3, 0, Cat(Table({0xFF, 0xFF00, 0xFF0000}), {0x01, 0x02, 0x03, 0})),
       1,
       1,
       {0x010203}},
      {"file, 52-byte header: the masks inside the header place the channels",
       LongHeaderFile(52, 1, 1, 32, 3, {0xFF, 0xFF00, 0xFF0000, 0}, {}, 0, {0x01, 0x02, 0x03, 0}),
       1,
       1,
       {0x010203},
       true},
      {"file, 56-byte header: 4-4-4-4 with an alpha mask; colours show as stored whatever their alpha",
       LongHeaderFile(56, 2, 1, 16, 3, {0x0F00, 0x00F0, 0x000F, 0xF000}, {}, 0, {0x80, 0x0F, 0x0F, 0xF0}),
       2,
       1,
       {0xFF8800, B},
       true},
      {"file, 108-byte header: without bit-mask compression the header's masks do not count",
       LongHeaderFile(108, 1, 1, 16, 0, {0xF800, 0x07E0, 0x001F, 0}, {}, 0, {0x00, 0x7C, 0, 0}),
       1,
       1,
       {R},
       true},
      {"file, 124-byte header: a short colour table, top-down rows, pixels after a gap",
       LongHeaderFile(124, 1, -2, 8, 0, {}, Table({R, G}), 12, {1, 0, 0, 0, 0, 0, 0, 0}),
       1,
       2,
       {G, R},
       true},
      {"file, 124-byte header: 4-bit run-length",
       LongHeaderFile(124, 4, 1, 4, 2, {}, Table({K, R, G}), 0, {4, 0x12, 0, 1}),
       4,
       1,
       {R, G, R, G},
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TDibImage img = c.wholeFile ? DecodeBmpFile(c.data) : DecodeDib(c.data);
    EXPECT_EQ(img.Width, c.w);
    EXPECT_EQ(img.Height, c.h);
    EXPECT_EQ(img.Pixels, c.pixels);
    if (!c.wholeFile) continue;
    // Without its file header the same bitmap is not one a bare bitmap may be.
    try {
      DecodeDib(std::span(c.data).subspan(14));
      ADD_FAILURE() << "a bare bitmap with a long header was read";
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), kDibInvalid);
    }
  }
}

TEST(Dib, OldStyleHeaderHasThreeByteColourEntries) {
  Bytes b;
  PutLe32(b, 12);
  PutLe16(b, 2);  // width
  PutLe16(b, 1);  // height
  PutLe16(b, 1);
  PutLe16(b, 1);                                // 1 bit: two entries of 3 bytes
  b.insert(b.end(), {0, 0, 0xFF, 0xFF, 0, 0});  // red, blue
  b.insert(b.end(), {0x40, 0, 0, 0});
  const TDibImage img = DecodeDib(b);
  EXPECT_EQ(img.Pixels, (std::vector<uint32_t>{R, B}));
  EXPECT_EQ(img.ColorTable, (std::vector<uint32_t>{R, B}));
}

TEST(Dib, BadHeadersAndShortDataEndInCleanErrors) {
  struct Case {
    const char* what;
    Bytes data;
    const char* message;
    TDibImage (*decode)(std::span<const uint8_t>) = DecodeDib;
  };
  const Bytes v5 = LongHeaderFile(124, 1, 1, 32, 3, {0xFF, 0xFF00, 0xFF0000, 0}, {}, 0, {1, 2, 3, 0});
  auto withHeader = [&](std::initializer_list<std::pair<size_t, uint8_t>> changes) {
    Bytes b = v5;
    for (auto [at, value] : changes) b[at] = value;
    return b;
  };
  const Case cases[] = {
      {"header size 64",
       [] {
         Bytes b = Dib(1, 1, 24, 0, 0, {0, 0, 0, 0});
         b[0] = 64;
         return b;
       }(),
       kDibInvalid},
      {"compression 4", Dib(1, 1, 24, 4, 0, {0, 0, 0, 0}), kDibInvalid},
      {"RLE8 with 4 bits", Dib(1, 1, 4, 1, 0, Bytes(64, 0)), kDibInvalid},
      {"2 bits per pixel", Dib(1, 1, 2, 0, 0, Bytes(64, 0)), kDibInvalid},
      {"negative width", Dib(-1, 1, 24, 0, 0, {0, 0, 0, 0}), kDibInvalid},
      {"billions of pixels", Dib(3000000, 2000000, 24, 0, 0, {0, 0, 0, 0}), kDibInvalid},
      {"huge colour count", Dib(1, 1, 8, 0, 0x7FFFFFFF, {0, 0, 0, 0}), kStreamReadError},
      {"pixel rows cut short", Dib(4, 4, 24, 0, 0, Bytes(20, 0)), kStreamReadError},
      {"header cut short", Bytes{40, 0, 0, 0, 1}, kStreamReadError},
      // Whole files take the longer headers, but no others and no other compressions.
      {"file with a 64-byte header", withHeader({{14, 64}}), kDibInvalid, DecodeBmpFile},
      {"file with header size 66", withHeader({{14, 66}}), kDibInvalid, DecodeBmpFile},
      {"file holding a JPEG", withHeader({{14 + 16, 4}}), kDibInvalid, DecodeBmpFile},
      {"file with 24 bits and masks", withHeader({{14 + 14, 24}}), kDibInvalid, DecodeBmpFile},
      {"file whose long header is cut short", Bytes(v5.begin(), v5.begin() + 14 + 100), kStreamReadError,
       DecodeBmpFile},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      c.decode(c.data);
      ADD_FAILURE() << "no error";
    } catch (const EError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  // A zero-wide picture of millions of rows is empty and decodes at once.
  const TDibImage empty = DecodeDib(Dib(0, -16384031, 24, 0, 0, {}));
  EXPECT_EQ(empty.Width, 0);
  EXPECT_TRUE(empty.Pixels.empty());

  // RLE with a negative height cannot be read: run-length rows start at the bottom.
  Bytes rle = Dib(1, 1, 8, 1, 1, Cat(Table({R}), {0, 1}));
  rle[8] = rle[9] = rle[10] = rle[11] = 0xFF;
  EXPECT_THROW(DecodeDib(rle), EInvalidGraphic);
}

TEST(Dib, EncoderRoundTrips) {
  TPixels px{3, 2, {0x0000FF, 0x00FF00, 0xFF0000, 0x0000FF, 0x0000FF, 0x0000FF}};
  for (TDibFormat f : {TDibFormat::Pal8, TDibFormat::Pal8Rle, TDibFormat::Rgb24, TDibFormat::Rgb32}) {
    for (bool topDown : {false, true}) {
      const TDibImage img = DecodeDib(EncodeDib(px, {f, {}, topDown}));
      ASSERT_EQ(img.Pixels.size(), 6u);
      for (size_t i = 0; i < 6; ++i) {
        const uint32_t c = px.Colors[i];
        EXPECT_EQ(img.Pixels[i], ((c & 0xFF) << 16) | (c & 0xFF00) | (c >> 16)) << static_cast<int>(f) << i;
      }
    }
  }
  // A given palette maps colours to their nearest entry.
  const TDibImage mapped = DecodeDib(EncodeDib(px, {TDibFormat::Pal8, {0x0000F0, 0xF00000}, false}));
  EXPECT_EQ(mapped.Pixels[0], 0xF00000u);  // red takes the dark red entry
  EXPECT_EQ(mapped.Pixels[2], 0x0000F0u);  // blue the dark blue one
  EXPECT_EQ(mapped.ColorTable.size(), 2u);
  // Whole bitmap files keep their pixel offset, whatever their header's size.
  for (uint32_t headerSize : {40u, 52u, 56u, 108u, 124u}) {
    const TDibImage file = DecodeBmpFile(EncodeBmpFile(px, {TDibFormat::Pal8Rle, {}, false}, headerSize));
    EXPECT_EQ(file.Pixels, DecodeDib(EncodeDib(px, {TDibFormat::Pal8Rle, {}, false})).Pixels) << headerSize;
  }
  EXPECT_THROW(EncodeBmpFile(px, {}, 64), std::invalid_argument);
}

TEST(Jpeg, DecodesWhatItEncodesAndReportsLibjpegErrors) {
  TPixels px{16, 8, std::vector<uint32_t>(128, 0x2080F0)};
  const TDibImage img = DecodeJpeg(EncodeJpeg(px, 95));
  ASSERT_EQ(img.Width, 16);
  ASSERT_EQ(img.Height, 8);
  for (uint32_t p : img.Pixels) {
    EXPECT_NEAR(static_cast<int>(p >> 16), 0xF0, 3);
    EXPECT_NEAR(static_cast<int>((p >> 8) & 0xFF), 0x80, 3);
    EXPECT_NEAR(static_cast<int>(p & 0xFF), 0x20, 3);
  }
  const Bytes garbage = {0x12, 0x34, 0x56, 0x78};
  try {
    DecodeJpeg(garbage);
    FAIL() << "no error";
  } catch (const EJPEG& e) {
    EXPECT_STREQ(e.what(), "JPEG error #53");  // not a JPEG file: no start-of-image marker
  }
}

// --- The public BMP conformance suite ---

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct SuiteFile {
  std::string name;
  std::vector<std::string> references;
};

std::vector<SuiteFile> Manifest(const std::filesystem::path& dir) {
  std::ifstream in(dir / "MANIFEST.tsv");
  std::vector<SuiteFile> files;
  std::string line;
  std::getline(in, line);  // column names
  while (std::getline(in, line)) {
    std::vector<std::string> cols;
    std::stringstream ss(line);
    for (std::string col; std::getline(ss, col, '\t');) cols.push_back(col);
    if (cols.empty() || cols[0].size() < 2 || cols[0][1] != '/') continue;
    SuiteFile f{cols[0], {}};
    if (cols.size() > 12) {
      std::stringstream refs(cols[12]);
      for (std::string r; refs >> r;) f.references.push_back(r);
    }
    files.push_back(f);
  }
  return files;
}

// Questionable files this reader accepts and must show right; the value is
// the reference image when it is not the first one listed.
const std::map<std::string, std::string> kQuestionableThatMustMatch = {
    {"q/pal1p1.bmp", ""},
    {"q/pal8offs.bmp", ""},
    {"q/pal8os2-hs.bmp", ""},
    {"q/pal8os2-sz.bmp", ""},
    {"q/pal8os2sp.bmp", ""},
    {"q/pal8os2v2-40sz.bmp", ""},
    {"q/pal8oversizepal.bmp", ""},
    {"q/rgb24largepal.bmp", ""},
    {"q/rgb16-231.bmp", ""},
    {"q/rgb16-3103.bmp", ""},
    {"q/rgb32-111110.bmp", ""},
    {"q/rgb32-7187.bmp", ""},
    {"q/rgb32fakealpha.bmp", ""},
    {"q/rgb16faketrns.bmp", ""},
    // Longer headers, read as whole files only. Those with an alpha channel
    // (rgba*) are left out: their references are transparent where alpha is
    // 0 and hold no particular colour there, while the game, which has no
    // alpha, shows the colour stored. rgb24prof2 needs its colour profile
    // applied, which the game does not do.
    {"q/rgb32h52.bmp", ""},
    {"q/rgb32-xbgr.bmp", ""},
    {"q/rgb24prof.bmp", ""},
    {"q/rgb24lprof.bmp", ""},
    {"q/pal4rlecut.bmp", "html/pal4rlecut-0.png"},
    {"q/pal4rletrns.bmp", "html/pal4rletrns-0.png"},
    {"q/pal8rlecut.bmp", "html/pal8rlecut-0.png"},
    {"q/pal8rletrns.bmp", "html/pal8rletrns-0.png"},
};
// Good files whose first reference is not the plain decoded picture.
const std::map<std::string, std::string> kGoodReference = {
    {"g/pal8nonsquare.bmp", "html/pal8nonsquare-e.png"},  // the first one is stretched to square pixels
};

// Files the suite's README says cannot be read without their file header.
bool NeedsFileHeader(const std::string& name) {
  return name == "q/pal8offs.bmp" || name == "q/pal8os2sp.bmp";
}

// Reference pictures are compared on red, green and blue only: the game's
// pictures have no alpha channel (the bitmap reader drops a pixel's alpha,
// DecodePng drops the reference's), and channels narrower than 8 bits may
// round either way.
void ExpectMatches(const TGraphic& pic, const TDibImage& ref, const std::string& what) {
  ASSERT_EQ(pic.Width(), ref.Width) << what;
  ASSERT_EQ(pic.Height(), ref.Height) << what;
  const std::vector<uint32_t>& px = pic.Pixels();
  int bad = 0;
  for (size_t i = 0; i < px.size() && bad < 3; ++i) {
    for (int s = 0; s < 24; s += 8) {
      const int d = static_cast<int>((px[i] >> s) & 0xFF) - static_cast<int>((ref.Pixels[i] >> s) & 0xFF);
      if (d < -1 || d > 1) {
        ADD_FAILURE() << what << ": pixel " << i % pic.Width() << "," << i / pic.Width() << " is " << std::hex
                      << px[i] << " not " << ref.Pixels[i];
        ++bad;
        break;
      }
    }
  }
}

// Every file of the suite is read the two ways an image archive holds a
// bitmap: as a "TBitmap" entry (the whole file behind its length) and as a
// "TDIB" entry (the bitmap without its file header). Good files must show
// their reference picture as a "TBitmap", and as a "TDIB" too unless their
// header is one a bare bitmap may not have, which must be refused as such.
// Everything else, bad files included, must read or fail cleanly.
TEST(Dib, ConformanceSuite) {
  const std::filesystem::path dir = std::filesystem::path(BD_TESTDATA_DIR) / "bmpsuite";
  ASSERT_TRUE(std::filesystem::exists(dir / "MANIFEST.tsv")) << "the conformance suite is missing at " << dir;
  int good = 0;
  for (const SuiteFile& f : Manifest(dir)) {
    SCOPED_TRACE(f.name);
    const Bytes file = ReadFile(dir / f.name);
    ASSERT_GE(file.size(), 18u);
    const bool mustMatch = f.name[0] == 'g' || kQuestionableThatMustMatch.count(f.name);
    std::string refName = f.references.empty() ? "" : f.references.front();
    for (const auto* overrides : {&kQuestionableThatMustMatch, &kGoodReference})
      if (auto it = overrides->find(f.name); it != overrides->end() && !it->second.empty())
        refName = it->second;
    const uint32_t headerSize = file[14] | (file[15] << 8) | (file[16] << 16) | (uint32_t{file[17]} << 24);
    const bool bareHeader = headerSize == 40 || headerSize == 12;

    for (bool whole : {true, false}) {
      if (!whole && NeedsFileHeader(f.name)) continue;
      const std::string what = f.name + (whole ? " as a TBitmap" : " as a TDIB");
      Bytes entry;
      if (whole) {
        PutLe32(entry, static_cast<uint32_t>(file.size()));
        entry.insert(entry.end(), file.begin(), file.end());
      } else {
        entry.assign(file.begin() + 14, file.end());
      }
      try {
        const auto pic = ReadGraphic(whole ? "TBitmap" : "TDIB", entry);
        ASSERT_NE(pic, nullptr);
        if (!whole && !bareHeader) {
          ADD_FAILURE() << what << ": a bare bitmap with a " << headerSize << "-byte header was read";
        } else if (mustMatch && !refName.empty()) {
          ExpectMatches(*pic, DecodePng(ReadFile(dir / refName)), what);
          ++good;
        }
      } catch (const EError& e) {
        if (!whole && !bareHeader)
          EXPECT_STREQ(e.what(), kDibInvalid) << what;
        else if (mustMatch)
          ADD_FAILURE() << what << ": " << e.what();
      }
    }
  }
  EXPECT_GT(good, 0);
}

}  // namespace
}  // namespace bd
