#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "frontend/ShareConfig.h"

namespace bd {
namespace {

namespace fs = std::filesystem;

// A game directory with the files an exit screen names; each test writes its
// own description into it.
class ShareConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(::testing::TempDir()) / ("share-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "pdata");
    for (const char* name : {"pdata/back.jpg", "pdata/n.bmp", "pdata/h.bmp", "pdata/d.bmp", "pdata/more.url"})
      std::ofstream(root_ / name) << "x";
  }
  void TearDown() override { fs::remove_all(root_); }

  TShareConfig Read(const std::string& text) {
    std::ofstream(root_ / ShareConfigFile, std::ios::binary) << text;
    return ReadShareConfig(root_ / ShareConfigFile, root_);
  }

  std::string Path(const char* relative) const { return (root_ / relative).string(); }

  fs::path root_;
};

const std::string kLink = "10 20 110 45\n12 22 100 40\npdata\\n.bmp\npdata\\h.bmp\npdata\\more.url\n";
const std::string kExit =
    "300 500 130 55\n302 502 120 45\n304 504 140 65\npdata\\n.bmp\npdata\\h.bmp\npdata\\d.bmp\n";

std::string Description(const std::string& count, const std::string& buttons, const std::string& tail) {
  return count + "\npdata\\back.jpg\n" + buttons + tail;
}

TEST_F(ShareConfigTest, ReadsEveryFieldOfATwoButtonScreen) {
  std::string text = Description(" 2", kLink + kExit, "400 300\n  5\n255 128 0\nTRUE\n  18\n");
  // Written on another system: CR LF line ends.
  for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
    text.insert(at, "\r");
  const TShareConfig c = Read(text);

  ASSERT_TRUE(c.Enabled);
  EXPECT_EQ(c.ButtonCount, 2);
  EXPECT_EQ(c.PicturePath, Path("pdata/back.jpg"));
  EXPECT_EQ(c.CountdownX, 400);
  EXPECT_EQ(c.CountdownY, 300);
  EXPECT_EQ(c.Countdown, 50);
  EXPECT_EQ(c.CountdownColor, 0x000080FFu);
  EXPECT_TRUE(c.ExplicitFontSize);
  EXPECT_EQ(c.FontSize, 18);
  ASSERT_EQ(c.Buttons.size(), 2u);

  const TShareButtonConfig& link = c.Buttons[0];
  EXPECT_FALSE(link.IsExit());
  EXPECT_EQ(link.Command, Path("pdata/more.url"));
  EXPECT_EQ((std::array{link.HoverX, link.HoverY, link.HoverWidth, link.HoverHeight}),
            (std::array{10, 20, 110, 45}));
  EXPECT_EQ((std::array{link.X, link.Y, link.Width, link.Height}), (std::array{12, 22, 100, 40}));
  EXPECT_EQ((std::array{link.DisabledX, link.DisabledY}), (std::array{12, 22}));
  EXPECT_EQ(link.NormalImage, Path("pdata/n.bmp"));
  EXPECT_EQ(link.HoverImage, Path("pdata/h.bmp"));
  EXPECT_EQ(link.DisabledImage, Path("pdata/n.bmp"));

  const TShareButtonConfig& exit = c.Buttons[1];
  EXPECT_TRUE(exit.IsExit());
  EXPECT_EQ((std::array{exit.HoverX, exit.HoverY}), (std::array{300, 500}));
  EXPECT_EQ((std::array{exit.X, exit.Y, exit.Width, exit.Height}), (std::array{302, 502, 120, 45}));
  EXPECT_EQ((std::array{exit.DisabledX, exit.DisabledY, exit.DisabledWidth, exit.DisabledHeight}),
            (std::array{304, 504, 140, 65}));
  EXPECT_EQ(exit.NormalImage, Path("pdata/n.bmp"));
  EXPECT_EQ(exit.HoverImage, Path("pdata/h.bmp"));
  EXPECT_EQ(exit.DisabledImage, Path("pdata/d.bmp"));
}

TEST_F(ShareConfigTest, ValidationTable) {
  struct TCase {
    const char* Label;
    std::string Text;
    bool Enabled;
    size_t Buttons = 0;
    int32_t Countdown = 0;
    int32_t FontSize = 0;
  };
  const std::string tail = "400 300\n5\n255 255 255\n";
  const TCase cases[] = {
      // Readable descriptions.
      {"N = 1: only the exit button, lower-case true", Description("1", kExit, tail + "true\n"), true, 1, 50,
       27},
      {"N = 0 with a countdown of 0", Description("0", "", "400 300\n0\n1 2 3\nTRUE\n14\n"), true, 0, 0, 14},
      {"N = 0 without a font size", Description("0", "", tail + "FALSE\n"), true, 0, 50, 0},
      {"leading spaces, trailing space", Description("   1", kExit, "  400 300 \n 5\n 0 0 0\n TRUE\n 9\n"),
       true, 1, 50, 9},
      {"last line without a line end", Description("1", kExit, tail + "TRUE\n20"), true, 1, 50, 20},
      // Broken ones.
      {"two spaces between numbers",
       Description("1", "300 500  130 55\n" + kExit.substr(15), tail + "TRUE\n9\n"), false},
      {"non-numeric number", Description("1", kExit, "400 3OO\n5\n0 0 0\nTRUE\n9\n"), false},
      {"empty number line", Description("1", kExit, "\n5\n0 0 0\nTRUE\n9\n"), false},
      {"too few numbers", Description("1", kExit, "400\n5\n0 0 0\nTRUE\n9\n"), false},
      {"missing command file",
       Description("2", "1 2 3 4\n1 2 3 4\npdata\\n.bmp\npdata\\h.bmp\npdata\\gone.url\n" + kExit,
                   tail + "X\n"),
       false},
      {"empty image path",
       Description("1", "1 2 3 4\n1 2 3 4\n1 2 3 4\n\npdata\\h.bmp\npdata\\d.bmp\n", tail + "X\n"), false},
      {"exit button given five lines", Description("1", kLink, tail + "X\n"), false},
      {"missing picture", "0\npdata\\none.jpg\n" + tail + "X\n", false},
      {"TRUE without the size line", Description("0", "", tail + "TRUE\n"), false},
      {"file ends before the font line", Description("0", "", tail), false},
      {"negative countdown", Description("0", "", "400 300\n-1\n0 0 0\nX\n"), false},
      {"colour out of range", Description("0", "", "400 300\n5\n0 256 0\nX\n"), false},
      {"negative button count", Description("-1", "", tail + "X\n"), false},
      {"empty file", "", false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Label);
    const TShareConfig config = Read(c.Text);
    EXPECT_EQ(config.Enabled, c.Enabled);
    if (!c.Enabled) continue;
    EXPECT_EQ(config.Buttons.size(), c.Buttons);
    EXPECT_EQ(config.ButtonCount, static_cast<int32_t>(c.Buttons));
    EXPECT_EQ(config.Countdown, c.Countdown);
    EXPECT_EQ(config.FontSize, c.FontSize);
  }
}

TEST_F(ShareConfigTest, MissingDescriptionDisablesTheScreen) {
  EXPECT_FALSE(ReadShareConfig(root_ / ShareConfigFile, root_).Enabled);
  fs::create_directories(root_ / ShareConfigFile);  // a folder where the file should be
  EXPECT_FALSE(ReadShareConfig(root_ / ShareConfigFile, root_).Enabled);
}

}  // namespace
}  // namespace bd
