// The builder's output as a whole: deterministic, current, and the sample
// exit screen complete.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "Generate.h"
#include "engine/images/Jpeg.h"
#include "frontend/ShareConfig.h"

namespace bd {
namespace {

std::vector<uint8_t> ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(BuilderOutput, TwoRunsGiveTheSameBytesAsTheBuild) {
  const auto first = art::MakeGameData("http://127.0.0.1:27183");
  const auto second = art::MakeGameData("http://127.0.0.1:27183");
  ASSERT_EQ(first.size(), second.size());
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].path, second[i].path);
    EXPECT_TRUE(first[i].bytes == second[i].bytes) << first[i].path;
    // The data the game runs with is the data this builder makes.
    EXPECT_TRUE(ReadFile(std::filesystem::path(BD_RUN_DIR) / first[i].path) == first[i].bytes)
        << first[i].path;
  }
}

TEST(BuilderOutput, SampleExitScreenIsEnabledWithAllItsFiles) {
  const std::filesystem::path run = BD_RUN_DIR;
  const TShareConfig cfg = ReadShareConfig(run / ShareConfigFile, run);
  ASSERT_TRUE(cfg.Enabled);
  ASSERT_GE(cfg.Buttons.size(), 2u);
  EXPECT_TRUE(cfg.Buttons.back().IsExit());
  EXPECT_GT(cfg.Countdown, 0);
  for (const TShareButtonConfig& b : cfg.Buttons) {
    // Each button's pictures fit the screen and its rectangle.
    for (const std::string& image : {b.NormalImage, b.HoverImage, b.DisabledImage}) {
      const TDibImage img = DecodeBmpFile(ReadFile(image));
      EXPECT_GE(img.Width, b.Width) << image;
      EXPECT_LE(b.X + img.Width, 800) << image;
      EXPECT_LE(b.Y + img.Height, 600) << image;
    }
  }
  const TDibImage back = DecodeJpeg(ReadFile(cfg.PicturePath));
  EXPECT_EQ(back.Width, 800);
  EXPECT_EQ(back.Height, 600);
}

TEST(BuilderOutput, AboutPageTellsTheRaceKeysAsTheGameUsesThem) {
  const std::vector<uint8_t> bytes = ReadFile(std::filesystem::path(BD_RUN_DIR) / "pdata/readme.txt");
  const std::string text(bytes.begin(), bytes.end());
  for (const char* line : {"стрелка вниз — ручной тормоз", "Пробел — задний ход",
                           "Enter — мгновенная остановка: одно нажатие тратит", "Ctrl — выстрел"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  // Words are joined by dashes, never by a hyphen between spaces.
  EXPECT_EQ(text.find(" - "), std::string::npos);
}

}  // namespace
}  // namespace bd
