#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "DxgTool.h"
#include "common/ArchiveWriter.h"
#include "common/Png.h"

namespace bd {
namespace {

using Bytes = std::vector<uint8_t>;

class DxgTool : public testing::Test {
 protected:
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Write(const std::string& name, const Bytes& data) {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return path.string();
  }
  static Bytes Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    return RunDxgTool(args, out_, err_);
  }

  std::filesystem::path dir_ = [] {
    auto d = std::filesystem::temp_directory_path() / ("bd_dxgtool_" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    return d;
  }();
  std::ostringstream out_, err_;
};

const TPixels kPicture{4,
                       2,
                       {0xFF00FF, 0x0000FF, 0x00FF00, 0x00FF00,  //
                        0x0000FF, 0x0000FF, 0x00FF00, 0xFF0000}};

Bytes ImageArchive() {
  TImageArchive archive;
  auto add = [&](std::string name, std::optional<TPictureData> picture) {
    TImageArchiveItem item;
    item.Name = std::move(name);
    item.Picture = std::move(picture);
    archive.Items.push_back(item);
    return &archive.Items.back();
  };
  auto* car = add("car", TPictureData::Dib(EncodeDib(kPicture, {TDibFormat::Pal8Rle, {}, false})));
  car->PatternWidth = 2;
  car->TransparentColor = std::string("clFuchsia");
  auto* again = add("Car", TPictureData::Bitmap(EncodeBmpFile(kPicture, {TDibFormat::Rgb24, {}, false})));
  again->Transparent = false;
  again->TransparentColor = uint32_t{0x123456};
  add("../up", TPictureData::Dib(EncodeDib(kPicture, {TDibFormat::Rgb32, {}, false})));
  add("empty", std::nullopt);
  return WriteImageArchive(archive);
}

TEST_F(DxgTool, ListsImages) {
  ASSERT_EQ(Run({"list", Write("a.dxg", ImageArchive())}), 0) << err_.str();
  EXPECT_EQ(out_.str(),
            "car\tTDIB\t4x2\t2 patterns 2x2\ttransparent clFuchsia\n"
            "Car\tTBitmap\t4x2\t1 pattern 4x2\topaque, key 0x123456\n"
            "../up\tTDIB\t4x2\t1 pattern 4x2\ttransparent clBlack\n"
            "empty\t(no picture)\t0x0\t0 patterns 0x0\ttransparent clBlack\n");
}

TEST_F(DxgTool, ExtractsWholePicturesAsPngWithDistinctSafeNames) {
  const auto out = dir_ / "out";
  ASSERT_EQ(Run({"extract", Write("a.dxg", ImageArchive()), out.string()}), 0) << err_.str();
  EXPECT_EQ(out_.str(), "car.png\nCar-2.png\n_.._up.png\n");
  EXPECT_NE(err_.str().find("empty: no picture"), std::string::npos);
  for (const char* name : {"car.png", "Car-2.png", "_.._up.png"}) {
    const TDibImage img = DecodePng(Read(out / name));
    ASSERT_EQ(img.Width, 4) << name;
    ASSERT_EQ(img.Height, 2);
    for (size_t i = 0; i < 8; ++i) {
      const uint32_t c = kPicture.Colors[i];  // the key colour is kept: no transparency applied
      EXPECT_EQ(img.Pixels[i], ((c & 0xFF) << 16) | (c & 0xFF00) | (c >> 16)) << name << ' ' << i;
    }
  }
}

TEST_F(DxgTool, ListsAndExtractsSounds) {
  const Bytes samples = {0, 1, 2, 3, 4, 5, 6, 7};
  const Bytes wave = EncodeWave(1, 22050, 16, samples);
  TSoundArchiveItem boom{"boom", true, 2, wave};
  TSoundArchiveItem click{"click", std::nullopt, std::nullopt, EncodeWave(2, 44100, 8, samples)};
  const auto file = Write("s.dxw", WriteSoundArchive({boom, click}));
  ASSERT_EQ(Run({"list", file}), 0) << err_.str();
  EXPECT_EQ(out_.str(),
            "boom\twave\tPCM 16-bit mono 22050 Hz, 8 bytes (0.000 s)\tlooped\tat most 2 at once\n"
            "click\twave\tPCM 8-bit stereo 44100 Hz, 8 bytes (0.000 s)\tonce\tno limit\n");
  ASSERT_EQ(Run({"extract", file, (dir_ / "wav").string()}), 0) << err_.str();
  EXPECT_EQ(Read(dir_ / "wav" / "boom.wav"), wave);
}

TEST_F(DxgTool, CheckReportsTheLoadersMessage) {
  EXPECT_EQ(Run({"check", Write("good.dxg", ImageArchive())}), 0);
  Bytes bad = ImageArchive();
  bad.resize(bad.size() / 2);
  EXPECT_EQ(Run({"check", Write("bad.dxg", bad)}), 1);
  EXPECT_NE(err_.str().find("Stream read error"), std::string::npos) << err_.str();
  Bytes wrongType = ImageArchive();
  wrongType[1] = 3;
  EXPECT_EQ(Run({"check", Write("wrong.dxg", wrongType)}), 1);
  EXPECT_NE(err_.str().find("Invalid stream format"), std::string::npos) << err_.str();
  const Bytes notWave = WriteSoundArchive({{"x", std::nullopt, std::nullopt, Bytes{'R', 'I', 'F', 'X'}}});
  EXPECT_EQ(Run({"check", Write("bad.dxw", notWave)}), 1);
  EXPECT_NE(err_.str().find("Wave is invalid"), std::string::npos) << err_.str();
  EXPECT_EQ(Run({"check", (dir_ / "missing.dxg").string()}), 1);
  EXPECT_EQ(Run({"list"}), 2);
  EXPECT_EQ(Run({"extract", "a.dxg"}), 2);
}

}  // namespace
}  // namespace bd
