#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "codec/SettingsCodec.h"
#include "codec/Cp1251.h"

namespace bd {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "text after the last CR LF";
  return lines;
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A settings file text made of the given decoded values, one per line.
std::string FileOf(const std::vector<std::string>& values) {
  std::string text;
  for (const auto& v : values) text += EncodeSettingsValue(v) + "\r\n";
  return text;
}

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("bd_settings_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = dir_ / SettingsFileName;
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_, path_;
};

TEST(Settings, FirstStartWritesDefaultsIn25Lines) {
  const std::vector<std::string> lines = CrLfLines(SettingsFileText(TSettingsValues{}));
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(lines[0], "G3LN265Y");  // "false"
  EXPECT_EQ(lines[1], "W4PT7FY");   // "true", 32 bits in 7 symbols
  EXPECT_EQ(lines[2], "W4PT7FY");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "");
  const int32_t scores[] = {3000, 2500, 2000, 1500, 1000, 500, 400, 300, 200, 100};
  for (int k = 0; k < 10; ++k) {
    EXPECT_EQ(DecodeSettingsValue(lines[5 + 2 * k]), W("Гонщик") + "%%%%") << k;
    EXPECT_EQ(DecodeSettingsValue(lines[6 + 2 * k]), PadSettingsValue(std::to_string(scores[k]))) << k;
  }
  for (const auto& line : lines)
    EXPECT_EQ(line.find_first_not_of(SettingsAlphabet), std::string::npos) << line;
}

TEST_F(SettingsFile, RoundTripKeepsOptionsTextsAndTable) {
  TSettingsValues saved;
  saved.FullScreen = true;
  saved.Music = false;
  saved.Sound = false;
  saved.Country = W("Россия");
  saved.PlayerName = "Vasya";          // 5 characters: no filling, 8 symbols
  saved.Table[0] = {"Vasily", 12345};  // 6 characters: filled to 10, 16 symbols
  saved.Table[4] = {W("Ёжик 1"), 0};
  saved.Table[9] = {"ab%cd", -7};
  saved.Table[2] = {"Aleksandra", 10};  // the longest name that can be typed
  SaveSettingsFile(path_, saved);

  const std::string text = ReadFile(path_);
  EXPECT_EQ(text, SettingsFileText(saved));
  const auto lines = CrLfLines(text);
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(lines[4].size(), 8u);
  EXPECT_EQ(lines[5].size(), 16u);

  TSettingsValues loaded;
  std::ostringstream log;
  ASSERT_TRUE(LoadSettingsFile(path_, loaded, log));
  EXPECT_EQ(loaded, saved);
  EXPECT_EQ(log.str(), "");

  // Options that are on at start-up and were saved off or on come back too.
  saved.FullScreen = false;
  saved.Music = saved.Sound = true;
  SaveSettingsFile(path_, saved);
  loaded = TSettingsValues{};
  ASSERT_TRUE(LoadSettingsFile(path_, loaded, log));
  EXPECT_EQ(loaded, saved);
  EXPECT_FALSE(fs::exists(dir_ / "Config.cfg.tmp"));
}

TEST(Settings, ReadingRules) {
  struct Case {
    const char* what;
    std::string text;
    bool fullScreen, music, sound;
    std::string country, name;
  };
  const std::string f = EncodeSettingsValue("false");
  const std::string abc = EncodeSettingsValue(PadSettingsValue("abc"));
  const Case cases[] = {
      {"empty file", "", true, true, true, "", ""},
      {"options off", FileOf({"false", "false", "false"}), false, false, false, "", ""},
      {"true and junk keep", FileOf({"true", "true", "FALSE"}), true, true, true, "", ""},
      {"LF only", f + "\n" + f + "\n" + f + "\n" + abc + "\n" + abc, false, false, false, "abc", "abc"},
      {"hand edit with foreign characters",
       f + "\r\n" + f + "\r\n" + f + "\r\n" + "  " + abc.substr(0, 3) + "-x-" + abc.substr(3) + " \xD0\x96" +
           "\r\n" + "z" + abc + "z\r\n",
       false, false, false, "abc", "abc"},
      {"only filling", FileOf({"false", "true", "true", "%%%%%"}), false, true, true, "", ""},
  };
  for (const auto& c : cases) {
    TSettingsValues v;
    v.Country = "old country";  // lines 4 and 5 replace these even when empty
    v.PlayerName = "old name";
    EXPECT_TRUE(ApplySettingsText(c.text, v).empty()) << c.what;
    EXPECT_EQ(v.FullScreen, c.fullScreen) << c.what;
    EXPECT_EQ(v.Music, c.music) << c.what;
    EXPECT_EQ(v.Sound, c.sound) << c.what;
    EXPECT_EQ(v.Country, c.country) << c.what;
    EXPECT_EQ(v.PlayerName, c.name) << c.what;
    EXPECT_EQ(v.Table, DefaultHighScores()) << c.what;
  }
}

TEST(Settings, EmptyOrMissingTableLinesKeepEntries) {
  // Entry 0 gets only a name, entry 1 only a score, the file ends after entry 2.
  const std::string text = FileOf({"false", "true", "true", "", "", PadSettingsValue("Petya"), "", "",
                                   PadSettingsValue("77"), "Kolya", PadSettingsValue("5")});
  TSettingsValues v;
  EXPECT_TRUE(ApplySettingsText(text, v).empty());
  THighScoreTable expected = DefaultHighScores();
  expected[0].Name = "Petya";
  expected[1].Score = 77;
  expected[2] = {"Kolya", 5};
  EXPECT_EQ(v.Table, expected);
}

TEST_F(SettingsFile, UnusableLinesKeepTheirValueAndTheRestStillLoads) {
  const std::string text = FileOf({"false", "false", "true", std::string("Ru\x01s", 4), "Vasya",
                                   PadSettingsValue("Ann"), PadSettingsValue("12a4"),         // entry 0
                                   PadSettingsValue("Bartholomew"), "%%%%%",                  // entry 1
                                   PadSettingsValue("Cid"), PadSettingsValue("99999999999"),  // entry 2
                                   std::string("\0Dan", 4), PadSettingsValue("-3"),           // entry 3
                                   PadSettingsValue("Eve"), PadSettingsValue("+1600")});      // entry 4
  { std::ofstream(path_, std::ios::binary) << text; }

  TSettingsValues v;
  v.Country = "Home";
  std::ostringstream log;
  ASSERT_TRUE(LoadSettingsFile(path_, v, log));
  EXPECT_FALSE(v.FullScreen);
  EXPECT_FALSE(v.Music);
  EXPECT_EQ(v.Country, "Home");
  EXPECT_EQ(v.PlayerName, "Vasya");
  THighScoreTable expected = DefaultHighScores();
  expected[0].Name = "Ann";
  expected[2].Name = "Cid";
  expected[3].Score = -3;
  expected[4] = {"Eve", 1600};
  EXPECT_EQ(v.Table, expected);
  const std::string report = log.str();
  for (const char* line : {"line 4:", "line 7:", "line 8:", "line 9:", "line 11:", "line 12:"})
    EXPECT_NE(report.find(std::string("Config.cfg ") + line), std::string::npos) << line << "\n" << report;
  EXPECT_EQ(report.find("line 13:"), std::string::npos) << report;
}

TEST_F(SettingsFile, MissingOrUnreadableFileKeepsDefaults) {
  TSettingsValues v;
  std::ostringstream log;
  EXPECT_FALSE(LoadSettingsFile(path_, v, log));
  EXPECT_EQ(log.str(), "");

  fs::create_directory(path_);  // exists, but cannot be read as a file
  EXPECT_FALSE(LoadSettingsFile(path_, v, log));
  EXPECT_EQ(v, TSettingsValues{});
  EXPECT_NE(log.str().find("Cannot read"), std::string::npos) << log.str();
}

TEST_F(SettingsFile, DamagedFilesAreKeptUnderNamesNotYetTaken) {
  { std::ofstream(dir_ / "Config.cfg.bad") << "older"; }
  { std::ofstream(path_, std::ios::binary) << "damaged"; }
  std::string error;
  // Readable: a copy, the file itself stays until the game replaces it.
  EXPECT_EQ(KeepBadSettingsFile(path_, true, error), dir_ / "Config.cfg.bad2");
  EXPECT_EQ(ReadFile(dir_ / "Config.cfg.bad2"), "damaged");
  EXPECT_EQ(ReadFile(path_), "damaged");
  // Unreadable: the file itself moves out of the way.
  EXPECT_EQ(KeepBadSettingsFile(path_, false, error), dir_ / "Config.cfg.bad3");
  EXPECT_FALSE(fs::exists(path_));
  EXPECT_EQ(ReadFile(dir_ / "Config.cfg.bad3"), "damaged");
  EXPECT_EQ(ReadFile(dir_ / "Config.cfg.bad"), "older");
  // Nothing there to keep: an empty name and the reason.
  EXPECT_EQ(KeepBadSettingsFile(path_, false, error), fs::path());
  EXPECT_NE(error, "");
}

// Writes half of what it is given and then fails or dies, as a full disk or a
// killed process would.
TWriteCall HalfThen(std::function<void()> after) {
  return [after](int fd, const void* data, size_t size) -> ssize_t {
    if (size > 1) return ::write(fd, data, size / 2);
    after();
    return -1;
  };
}

TEST_F(SettingsFile, FailedSaveLeavesTheOldFile) {
  TSettingsValues old;
  old.PlayerName = "Old";
  SaveSettingsFile(path_, old);
  const std::string before = ReadFile(path_);

  TSettingsValues next;
  next.PlayerName = "New";
  EXPECT_THROW(SaveSettingsFile(path_, next, HalfThen([] { errno = ENOSPC; })), EInOutError);
  EXPECT_EQ(ReadFile(path_), before);
  EXPECT_FALSE(fs::exists(dir_ / "Config.cfg.tmp"));
}

TEST_F(SettingsFile, CrashMidSaveLeavesTheOldFile) {
  TSettingsValues old;
  old.PlayerName = "Old";
  SaveSettingsFile(path_, old);
  const std::string before = ReadFile(path_);

  TSettingsValues next;
  next.PlayerName = "New";
  EXPECT_EXIT(SaveSettingsFile(path_, next, HalfThen([] { ::_exit(7); })), ::testing::ExitedWithCode(7), "");
  EXPECT_EQ(ReadFile(path_), before);

  // The next save is not disturbed by what the crashed one left behind.
  SaveSettingsFile(path_, next);
  TSettingsValues loaded;
  std::ostringstream log;
  ASSERT_TRUE(LoadSettingsFile(path_, loaded, log));
  EXPECT_EQ(loaded.PlayerName, "New");
}

}  // namespace
}  // namespace bd
