#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "common/ArchiveWriter.h"
#include "common/JpegWriter.h"
#include "engine/images/Colors.h"
#include "engine/images/Jpeg.h"
#include "engine/images/PictureCollection.h"

namespace bd {
namespace {

using Bytes = std::vector<uint8_t>;

// Colours 0x00BBGGRR: a 4 x 2 picture of two 2 x 2 patterns, the first
// with a fuchsia corner.
const TPixels kPicture{4,
                       2,
                       {0xFF00FF, 0x0000FF, 0x00FF00, 0x00FF00,  //
                        0x0000FF, 0x0000FF, 0x00FF00, 0xFF0000}};

std::string Message(const std::function<void()>& f) {
  try {
    f();
  } catch (const EError& e) {
    return e.what();
  }
  return "no error";
}

TEST(ImageArchive, RoundTripsEveryPictureKindAndProperty) {
  TImageArchive archive;
  archive.ColorTable.assign(256, 0);
  archive.ColorTable[9] = 0x00123456;
  auto add = [&](std::string name, TPictureData picture) {
    TImageArchiveItem item;
    item.Name = std::move(name);
    item.Picture = std::move(picture);
    archive.Items.push_back(item);
    return &archive.Items.back();
  };
  auto* pal8 = add("pal8", TPictureData::Dib(EncodeDib(kPicture, {TDibFormat::Pal8, {}, false})));
  pal8->PatternWidth = 2;
  pal8->PatternHeight = 2;
  pal8->TransparentColor = std::string("clFuchsia");
  add("rle", TPictureData::Dib(EncodeDib(kPicture, {TDibFormat::Pal8Rle, {}, false})));
  auto* rgb24 = add("rgb24", TPictureData::Dib(EncodeDib(kPicture, {TDibFormat::Rgb24, {}, true})));
  rgb24->Transparent = false;
  rgb24->SystemMemory = true;
  rgb24->SkipWidth = 3;
  rgb24->SkipHeight = -2;
  rgb24->TransparentColor = uint32_t{0xFF000005};
  add("rgb32", TPictureData::Dib(EncodeDib(kPicture, {TDibFormat::Rgb32, {}, false})));
  add("bitmap", TPictureData::Bitmap(EncodeBmpFile(kPicture, {TDibFormat::Rgb24, {}, false})));
  // The 124-byte header that image editors write today.
  add("bitmap124", TPictureData::Bitmap(EncodeBmpFile(kPicture, {TDibFormat::Pal8, {}, true}, 124)));
  add("jpeg", TPictureData::Jpeg(EncodeJpeg(TPixels{8, 8, std::vector<uint32_t>(64, 0x0000FF)}, 95)));
  add("icon", TPictureData{"TIcon", {1, 2, 3}});

  TPictureCollection list;
  list.Initialize(nullptr);
  list.LoadFromMemory(WriteImageArchive(archive));
  ASSERT_EQ(list.Count(), 8);
  EXPECT_EQ(list.ColorTable[9], (TPaletteEntry{0x56, 0x34, 0x12, 0}));

  for (const char* name : {"pal8", "rle", "rgb24", "rgb32", "bitmap", "bitmap124"}) {
    SCOPED_TRACE(name);
    const TGraphic* pic = list.Find(name).Picture();
    ASSERT_NE(pic, nullptr);
    ASSERT_EQ(pic->Width(), 4);
    ASSERT_EQ(pic->Height(), 2);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(pic->PixelColor(i % 4, i / 4), kPicture.Colors[i]) << i;
  }
  EXPECT_STREQ(list.Find("bitmap").Picture()->ClassName(), "TBitmap");
  EXPECT_STREQ(list.Find("jpeg").Picture()->ClassName(), "TJPEGImage");
  EXPECT_NEAR(static_cast<int>(list.Find("jpeg").Picture()->PixelColor(3, 3) & 0xFF), 0xFF, 3);

  const auto& p = list.Find("PAL8");
  EXPECT_EQ(p.TransparentColor(), 0xFF00FFu);
  EXPECT_TRUE(p.Transparent());
  EXPECT_FALSE(p.SystemMemory());
  EXPECT_EQ(p.PatternTotal(), 2);  // restored at once: the list was initialised
  EXPECT_EQ(p.PatternBounds(1), (TRect{2, 0, 4, 2}));

  const auto& q = list.Find("rgb24");
  EXPECT_EQ(q.PatternWidth(), 0);
  EXPECT_EQ(q.SkipWidth(), 3);
  EXPECT_EQ(q.SkipHeight(), -2);
  EXPECT_FALSE(q.Transparent());
  EXPECT_TRUE(q.SystemMemory());
  EXPECT_EQ(q.TransparentColor(), 0xFF000005u);

  // An unknown picture class leaves the item without a picture: nothing to draw.
  auto& icon = list.Find("icon");
  EXPECT_EQ(icon.Picture(), nullptr);
  EXPECT_EQ(icon.PatternTotal(), 0);
  TDirectDrawSurface dest(4, 4);
  icon.DrawPattern(dest, 0, 0, 0);
  EXPECT_EQ(dest.Pixel(0, 0), 0u);
}

// A root holding one item whose properties `body` writes.
Bytes ArchiveWithItem(const std::function<void(TComponentWriter&)>& body) {
  TComponentWriter w;
  w.WriteRootStart("TPictureCollectionComponent");
  w.WriteShortString("List");
  w.WriteValueType(TValueType::Collection);
  w.WriteValueType(TValueType::List);
  body(w);
  w.WriteListEnd();
  w.WriteListEnd();
  w.WriteListEnd();
  w.WriteListEnd();
  return w.Finish();
}

TEST(ImageArchive, AcceptsEveryStringTypeIndexesAndPrefixes) {
  TComponentWriter w;
  w.WriteBytes(std::span(reinterpret_cast<const uint8_t*>("TPF0"), 4));
  w.WriteByte(0xF2);  // prefix with a child position
  w.WriteInteger(7);
  w.WriteShortString("TPictureCollectionComponent");
  w.WriteShortString("");
  w.WriteShortString("list");  // names ignore ASCII case
  w.WriteValueType(TValueType::Collection);
  const std::pair<const char*, std::function<void()>> names[] = {
      {"short", [&] { w.WriteString("short"); }},
      {"\xC4\xE2\xE8\xE6\xEE\xEA", [&] { w.WriteWideString("Движок"); }},
      {"\xCC\xE5\xED\xFE", [&] { w.WriteUtf8String("Меню"); }},
      {"long",
       [&] {
         w.WriteValueType(TValueType::LString);
         w.Write32(4);
         w.WriteBytes(std::span(reinterpret_cast<const uint8_t*>("long"), 4));
       }},
  };
  for (int i = 0; i < 4; ++i) {
    w.WriteInteger(i * 1000);  // item index, ignored
    w.WriteValueType(TValueType::List);
    w.WriteShortString("NAME");
    names[i].second();
    w.WriteShortString("transparent");
    w.WriteIdent(i % 2 ? "TRUE" : "false");
    w.WriteShortString("TransparentColor");
    w.WriteIdent("CLBTNFACE");
    w.WriteListEnd();
  }
  w.WriteListEnd();
  w.WriteListEnd();
  w.WriteListEnd();
  TPictureCollection list;
  list.LoadFromMemory(w.Finish());
  ASSERT_EQ(list.Count(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(list.Items(i).Name(), names[i].first);
    EXPECT_EQ(list.Items(i).Transparent(), i % 2 == 1);
    EXPECT_EQ(list.Items(i).TransparentColor(), 0xFF00000Fu);
  }
}

TEST(ImageArchive, ColourIdentifiers) {
  const std::pair<const char*, uint32_t> cases[] = {
      {"clFuchsia", 0xFF00FF},     {"CLFUCHSIA", 0xFF00FF},  {"clMoneyGreen", 0xC0DCC0},
      {"clSkyBlue", 0xF0CAA6},     {"clNone", 0x1FFFFFFF},   {"clDefault", 0x20000000},
      {"clScrollBar", 0xFF000000}, {"clInfoBk", 0xFF000018}, {"clHotLight", 0xFF00001A},
      {"clMenuBar", 0xFF00001E},
  };
  for (auto [ident, value] : cases) EXPECT_EQ(IdentToColor(ident), value) << ident;
  EXPECT_EQ(IdentToColor("clNoSuchColour"), std::nullopt);
  EXPECT_EQ(ColorToIdent(0xFF00FF), "clFuchsia");
  EXPECT_EQ(ColorToRGB(0xFF00000F), 0xC8D0D4u);  // button face of the classic scheme
  EXPECT_EQ(ColorToRGB(0x00123456), 0x123456u);
}

TEST(ImageArchive, EachErrorHasItsMessage) {
  auto prop = [](const char* name, const std::function<void(TComponentWriter&)>& value) {
    return ArchiveWithItem([=](TComponentWriter& w) {
      w.WriteShortString(name);
      value(w);
    });
  };
  auto picture = [&](std::string cls, Bytes data) {
    return prop("Picture.Data", [=](TComponentWriter& w) {
      Bytes b{static_cast<uint8_t>(cls.size())};
      b.insert(b.end(), cls.begin(), cls.end());
      b.insert(b.end(), data.begin(), data.end());
      w.WriteBinary(b);
    });
  };
  Bytes good = ArchiveWithItem([](TComponentWriter& w) {
    w.WriteShortString("Name");
    w.WriteString("a");
  });
  Bytes badMarker = good, badType = good, badSignature = good;
  badMarker[0] = 0xFE;
  badType[1] = 11;
  badSignature[10 + 27 + 3] = '1';  // "TPF0" follows the 27-byte resource name
  Bytes noNameEnd(90, 'A');
  noNameEnd[0] = 0xFF, noNameEnd[1] = 10, noNameEnd[2] = 0;
  Bytes shortTable;
  {
    TComponentWriter w;
    w.WriteRootStart("TPictureCollectionComponent");
    w.WriteShortString("List.ColorTable");
    w.WriteBinary(Bytes(1000, 0));
    w.WriteListEnd();
    w.WriteListEnd();
    shortTable = w.Finish();
  }
  const Bytes tooBigDib = EncodeDib(TPixels{1, 1, {0}}, {TDibFormat::Rgb24, {}, false});
  Bytes badHeader = tooBigDib;
  badHeader[0] = 64;
  // A header a whole bitmap file may have, but a bare bitmap may not.
  const Bytes file124 = EncodeBmpFile(TPixels{1, 1, {0}}, {TDibFormat::Rgb24, {}, false}, 124);
  const Bytes longHeader(file124.begin() + 14, file124.end());

  const std::pair<Bytes, std::string> cases[] = {
      {badMarker, "Invalid stream format"},
      {badType, "Invalid stream format"},
      {badSignature, "Invalid stream format"},
      {noNameEnd, "Invalid stream format"},
      {prop("Colour", [](auto& w) { w.WriteInteger(1); }), "Property Colour does not exist"},
      {prop("Picture.Colour", [](auto& w) { w.WriteInteger(1); }), "Property Colour does not exist"},
      {prop("Frame.Data", [](auto& w) { w.WriteInteger(1); }), "Property Frame does not exist"},
      {prop("Name.Length", [](auto& w) { w.WriteInteger(1); }), "Invalid property path"},
      {prop("PatternWidth", [](auto& w) { w.WriteString("1"); }), "Invalid property value"},
      {prop("PatternWidth", [](auto& w) { w.WriteIdent("clRed"); }), "Invalid property value"},
      {prop("Transparent", [](auto& w) { w.WriteInteger(1); }), "Invalid property value"},
      {prop("Transparent", [](auto& w) { w.WriteIdent("Yes"); }), "Invalid property value"},
      {prop("TransparentColor", [](auto& w) { w.WriteIdent("clNoSuch"); }), "Invalid property value"},
      {prop("Name", [](auto& w) { w.WriteInteger(5); }), "Invalid property value"},
      {prop("Picture.Data", [](auto& w) { w.WriteString("x"); }), "Invalid property value"},
      {prop("Name", [](auto& w) { w.WriteValueType(TValueType::Extended); }), "Invalid property value"},
      {shortTable, "Stream read error"},
      {prop("Picture.Data",
            [](auto& w) {
              w.WriteValueType(TValueType::Binary);
              w.Write32(0xFFFFFFF0);
            }),
       "Stream read error"},
      {prop("Name",
            [](auto& w) {
              w.WriteValueType(TValueType::WString);
              w.Write32(0x7FFFFFFF);
            }),
       "Stream read error"},
      {picture("TBitmap", {0xFF, 0xFF, 0xFF, 0x7F}), "Stream read error"},
      {picture("TDIB", badHeader), "DIB is invalid"},
      {picture("TDIB", longHeader), "DIB is invalid"},
      {picture("TJPEGImage", {4, 0, 0, 0, 1, 2, 3, 4}), "JPEG error #53"},
  };
  for (const auto& [data, message] : cases) {
    TPictureCollection list;
    EXPECT_EQ(Message([&] { list.LoadFromMemory(data); }), message);
  }
}

TEST(ImageArchive, ErrorsKeepTheItemsReadBefore) {
  TComponentWriter w;
  w.WriteRootStart("TPictureCollectionComponent");
  w.WriteShortString("List");
  w.WriteValueType(TValueType::Collection);
  for (const char* name : {"one", "two"}) {
    w.WriteValueType(TValueType::List);
    w.WriteShortString("Name");
    w.WriteString(name);
    w.WriteListEnd();
  }
  w.WriteValueType(TValueType::List);
  w.WriteShortString("Bogus");
  TPictureCollection list;
  list.Initialize(nullptr);
  list.Add().SetName("old");
  EXPECT_THROW(list.LoadFromMemory(w.Finish()), EReadError);
  ASSERT_GE(list.Count(), 2);
  EXPECT_EQ(list.Items(0).Name(), "one");
  EXPECT_EQ(list.FindOrNull("old"), nullptr);
}

TEST(ImageArchive, TruncatedAndDamagedArchivesEndInErrors) {
  TImageArchive archive;
  archive.ColorTable.assign(256, 0x00FF00FF);
  TImageArchiveItem a;
  a.Name = "car";
  a.PatternWidth = 2;
  a.TransparentColor = std::string("clFuchsia");
  a.Picture = TPictureData::Dib(EncodeDib(kPicture, {TDibFormat::Pal8Rle, {}, false}));
  TImageArchiveItem b;
  b.Name = "tree";
  b.Picture = TPictureData::Bitmap(EncodeBmpFile(kPicture, {TDibFormat::Rgb24, {}, false}));
  archive.Items = {a, b};
  const Bytes data = WriteImageArchive(archive);

  for (size_t n = 0; n < data.size(); ++n) {
    TPictureCollection list;
    list.Initialize(nullptr);
    EXPECT_THROW(list.LoadFromMemory(std::span(data).first(n)), EError) << "length " << n;
  }
  // Any single damaged byte loads or fails cleanly; the sanitizer build
  // checks that nothing is read out of bounds on the way.
  for (size_t i = 0; i < data.size(); ++i) {
    for (uint8_t v : {uint8_t{0x00}, uint8_t{0x7F}, uint8_t{0xFF}}) {
      Bytes damaged = data;
      damaged[i] = v;
      TPictureCollection list;
      list.Initialize(nullptr);
      try {
        list.LoadFromMemory(damaged);
      } catch (const EError&) {
      }
    }
  }
}

class ImageArchiveFile : public testing::Test {
 protected:
  std::string Write(const std::string& name, const Bytes& data) {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return path.string();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_ = [] {
    auto d = std::filesystem::temp_directory_path() / ("bd_images_" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    return d;
  }();
};

TEST_F(ImageArchiveFile, LoadArchiveReplacesNeverMerges) {
  auto named = [](std::vector<std::string> names) {
    TImageArchive a;
    for (auto& n : names) {
      TImageArchiveItem item;
      item.Name = n;
      item.Picture = TPictureData::Dib(EncodeDib(kPicture, {TDibFormat::Rgb24, {}, false}));
      a.Items.push_back(item);
    }
    return WriteImageArchive(a);
  };
  const auto first = Write("first.dxg", named({"a", "b"}));
  const auto second = Write("second.dxg", named({"c"}));
  const auto empty = Write("empty.dxg", named({}));
  TPictureCollection list;
  list.LoadArchive(first);
  list.ColorTable[3] = TPaletteEntry{1, 2, 3, 0};
  list.LoadArchive(second);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.FindOrNull("a"), nullptr);
  EXPECT_EQ(list.ColorTable[3], (TPaletteEntry{1, 2, 3, 0}));  // no colour table entry: kept
  // A file that cannot be opened changes nothing.
  EXPECT_THROW(list.LoadArchive((dir_ / "missing.dxg").string()), EFOpenError);
  EXPECT_EQ(list.Count(), 1);
  list.LoadArchive(empty);
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(ImageArchiveFile, ErrorsOfAFileNameItAndKeepTheirClass) {
  TImageArchive archive;
  TImageArchiveItem item;
  item.Name = "a";
  item.Picture = TPictureData::Dib(EncodeDib(kPicture, {TDibFormat::Rgb24, {}, false}));
  archive.Items = {item, item};
  Bytes cut = WriteImageArchive(archive);
  cut.resize(cut.size() / 2);
  const std::string cutPath = Write("cut.dxg", cut);
  const std::string emptyPath = Write("empty.dxg", {});
  const std::filesystem::path folder = dir_ / "folder.dxg";
  const std::filesystem::path pipe = dir_ / "pipe.dxg";
  std::filesystem::create_directory(folder);
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);

  TPictureCollection list;
  EXPECT_THROW(list.LoadArchive(cutPath), EReadError);
  EXPECT_EQ(Message([&] { list.LoadArchive(cutPath); }),
            "The file \"" + cutPath + "\" is damaged (Stream read error).");
  EXPECT_EQ(Message([&] { list.LoadArchive(emptyPath); }), "The file \"" + emptyPath + "\" is empty.");
  // A folder or a pipe in the archive's place is refused at once, without
  // waiting on the pipe for a writer.
  EXPECT_THROW(list.LoadArchive(folder.string()), EFOpenError);
  EXPECT_EQ(Message([&] { list.LoadArchive(folder.string()); }),
            "Cannot open file \"" + folder.string() + "\". Is a directory");
  EXPECT_EQ(Message([&] { list.LoadArchive(pipe.string()); }),
            "Cannot open file \"" + pipe.string() + "\". Not a regular file");
}

}  // namespace
}  // namespace bd
