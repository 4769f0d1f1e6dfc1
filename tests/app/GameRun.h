#pragma once
// The whole game on the headless platform, run in a fresh directory that
// holds the stand-in game data. A test prepares the directory (a settings
// file, say), then calls Start() to create the form, which runs start-up.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/Version.h"
#include "engine/platform/headless/Headless.h"
#include "support/GameData.h"

namespace bd::test {

class GameRun : public ::testing::Test {
 protected:
  void SetUp() override {
    oldDir_ = std::filesystem::current_path();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name();
    std::replace(name.begin(), name.end(), '/', '-');  // parameterised tests
    dir_ = std::filesystem::temp_directory_path() / ("bd-game-" + name);
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
    WriteStandInGameData(dir_);
  }
  void TearDown() override {
    form.reset();
    app.reset();
    std::filesystem::current_path(oldDir_);
    std::filesystem::remove_all(dir_);
  }

  // Puts the built game data (and, with `music`, the built songs) in place of
  // the stand-in pictures and sounds; false when the build made none, and the
  // test is to be skipped. Collisions go by the built pictures' pixels.
  bool UseBuiltData(bool music) {
    const std::filesystem::path run = BD_RUN_DIR;
    if (!std::filesystem::exists(run / "Data" / "GraphicsMain.dxg")) return false;
    std::filesystem::remove_all(dir_ / "Data");
    std::filesystem::create_directory_symlink(run / "Data", dir_ / "Data");
    if (music) std::filesystem::create_directory_symlink(run / "Music", dir_ / "Music");
    return true;
  }

  // Creates the form (start-up) and, unless told not to, shows the window.
  void Start(bool show = true, TFrameLog* frameLog = nullptr) {
    app = std::make_unique<TApplication>(platform.Get());
    app->Title = kGameTitle;
    form = std::make_unique<TMainForm>(*app, frameLog);
    if (show) form->Show();
  }

  uint32_t Now() { return platform.clock.Milliseconds(); }
  void RunFor(uint32_t ms) { app->RunUntil(Now() + ms); }
  // A key pressed (and released, unless held) and handled at once.
  void Press(int key, uint8_t shift = 0) {
    form->FormKeyDown(key, shift);
    form->FormKeyUp(key, shift);
  }
  // The messages the game reported, one string.
  std::string Reported() const {
    std::string all;
    for (const auto& m : platform.messageBox.Messages()) all += m.text + "\n";
    return all;
  }
  // How often the named sound was started since the sound archive was loaded.
  int PlayCount(const std::string& name) {
    // The sounds' own voices are made in archive order and hold their own
    // samples; every play copy names the voice it shares them with.
    std::vector<int> mains;
    for (int v = 1; v <= platform.audio.VoiceCount(); ++v)
      if (platform.audio.VoiceState(v).data == v) mains.push_back(v);
    TWaveCollection& sounds = form->DXWaveList.Items();
    int main = 0;
    for (int i = 0; i < sounds.Count(); ++i)
      if (sounds.Items(i).Name() == name)
        main = mains.at(mains.size() - static_cast<size_t>(sounds.Count()) + static_cast<size_t>(i));
    int count = 0;
    for (const auto& e : platform.audio.Events())
      if (e.kind == THeadlessAudio::Event::Kind::Play && platform.audio.VoiceState(e.voice).data == main)
        ++count;
    return count;
  }
  // The lines of a text file, without their CR LF endings.
  static std::vector<std::string> FileLines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<std::string> lines;
    std::string s = text.str();
    for (size_t start = 0; start < s.size();) {
      const size_t end = s.find("\r\n", start);
      if (end == std::string::npos) {
        lines.push_back(s.substr(start) + "<no CR LF>");
        break;
      }
      lines.push_back(s.substr(start, end - start));
      start = end + 2;
    }
    return lines;
  }

  THeadlessPlatform platform;
  std::unique_ptr<TApplication> app;
  std::unique_ptr<TMainForm> form;
  std::filesystem::path dir_;

 private:
  std::filesystem::path oldDir_;
};

}  // namespace bd::test
