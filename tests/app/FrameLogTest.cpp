#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "GameRun.h"
#include "app/FrameLog.h"

namespace bd {
namespace {

// The records of a log file, each split into its words.
std::vector<std::vector<std::string>> Records(const std::filesystem::path& path) {
  std::vector<std::vector<std::string>> records;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    records.emplace_back();
    for (std::string w; words >> w;) records.back().push_back(w);
  }
  return records;
}

std::filesystem::path ScratchFile(const std::string& what) {
  return std::filesystem::temp_directory_path() / ("bd-framelog-" + std::to_string(::getpid()) + "-" + what);
}

TEST(FrameLog, LatenessAgainstTheMillisecondWhenTheFrameBecameDue) {
  struct Case {
    const char* what;
    uint32_t dueMs;
    uint64_t nowUs;
    int64_t expected;
  };
  const Case cases[] = {
      {"on time", 15, 15000, 0},
      {"late", 15, 16250, 1250},
      {"early", 15, 14300, -700},
      {"clock wrap in between", 0xFFFFFFF5u, ((uint64_t{1} << 32) + 4) * 1000 + 250, 15250},
  };
  for (const Case& c : cases) EXPECT_EQ(TFrameLog::Lateness(c.dueMs, c.nowUs), c.expected) << c.what;
}

TEST(FrameLog, WritesOneRecordPerLineAndTheFirstPresentOnly) {
  const auto path = ScratchFile("records");
  {
    TFrameLog log(std::fopen(path.c_str(), "w"));
    log.Started();
    log.Loaded("Data/GraphicsMenu.dxg", 1234);
    log.FrameStarted(30, 31500);
    log.Presented();
    log.FrameStarted(45, 45000);
    log.Presented();
  }
  const auto records = Records(path);
  std::filesystem::remove(path);
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(records[0][0], "start");
  EXPECT_EQ(records[1], (std::vector<std::string>{"load", "Data/GraphicsMenu.dxg", "1234"}));
  ASSERT_EQ(records[2].size(), 3u);
  EXPECT_EQ(records[2][0], "frame");
  EXPECT_EQ(records[2][2], "1500");
  EXPECT_EQ(records[3][0], "present");
  EXPECT_EQ(records[3].size(), 3u);
  EXPECT_EQ(records[4][0], "frame");
  EXPECT_EQ(records[4][2], "0");
  // Times of the same run, in order on their clocks.
  EXPECT_LE(std::stoll(records[0][1]), std::stoll(records[3][1]));
  EXPECT_LE(std::stoll(records[2][1]), std::stoll(records[4][1]));
}

TEST(FrameLog, MadeOnlyWhenTheVariableNamesAFileThatCanBeOpened) {
  const auto path = ScratchFile("env");
  { std::ofstream(path) << "earlier run\n"; }
  struct Case {
    const char* what;
    const char* value;  // null: unset
    bool made;
  };
  const std::string file = path.string();
  const std::string folder = std::filesystem::temp_directory_path().string();
  const Case cases[] = {
      {"unset", nullptr, false},
      {"empty", "", false},
      {"a folder", folder.c_str(), false},
      {"a file", file.c_str(), true},
  };
  for (const Case& c : cases) {
    if (c.value == nullptr)
      ::unsetenv(TFrameLog::kVariable);
    else
      ::setenv(TFrameLog::kVariable, c.value, 1);
    auto log = TFrameLog::FromEnvironment();
    EXPECT_EQ(log != nullptr, c.made) << c.what;
    if (log) log->Started();
  }
  ::unsetenv(TFrameLog::kVariable);
  // Appended: what was there stays.
  const auto records = Records(path);
  std::filesystem::remove(path);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], (std::vector<std::string>{"earlier", "run"}));
  EXPECT_EQ(records[1][0], "start");
}

class FrameLogGame : public test::GameRun {};

TEST_F(FrameLogGame, RecordsTheGamesLoadsFramesAndFirstPresent) {
  const auto path = dir_ / "frames.log";
  auto log = std::make_unique<TFrameLog>(std::fopen(path.c_str(), "w"));
  Start(true, log.get());
  RunFor(150);
  form.reset();
  log.reset();

  std::vector<std::string> loads;
  int frames = 0, presents = 0;
  for (const auto& r : Records(path)) {
    if (r[0] == "load") {
      loads.push_back(r[1]);
    } else if (r[0] == "frame") {
      ++frames;
      // The virtual clock stands still while the game works and the loop
      // jumps it to each frame's due time, so every frame is on time.
      EXPECT_EQ(r[2], "0");
    } else if (r[0] == "present") {
      EXPECT_GT(frames, 0) << "presented before any frame started";
      ++presents;
    }
  }
  EXPECT_EQ(loads, (std::vector<std::string>{GraphicsMenuPath, "Music/Menu.xm", SoundArchivePath}));
  EXPECT_EQ(frames, 10);
  EXPECT_EQ(presents, 1);
}

}  // namespace
}  // namespace bd
