#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "app/MainForm.h"
#include "app/Version.h"
#include "common/ArchiveWriter.h"
#include "engine/platform/headless/Headless.h"
#include "support/SoundFixtures.h"

namespace bd {
namespace {

namespace fs = std::filesystem;
using Kind = THeadlessAudio::Event::Kind;

// A music library whose songs are at whatever order position the test says.
class TScriptedMusic : public IMusicLibrary {
 public:
  uint32_t SongLoadFromFile(const std::string& path) override {
    log.push_back("load " + path);
    if (path == "Music/.xm") return 0;  // no such song
    live[next] = true;
    return next++;
  }
  void SongPlay(uint32_t song) override { log.push_back("play " + std::to_string(song)); }
  int32_t SongGetOrder(uint32_t song) override { return live[song] ? order : 0; }
  void SongFree(uint32_t song) override {
    log.push_back("free " + std::to_string(song));
    live[song] = false;
  }
  void DuckUnderCue(double seconds) override { ducks.push_back(seconds); }
  void SetPaused(bool paused) override { log.push_back(paused ? "pause" : "resume"); }
  std::vector<std::string> Take() { return std::exchange(log, {}); }

  int32_t order = 0;
  std::vector<std::string> log;
  std::vector<double> ducks;  // the length of every cue the music stepped back under
  std::map<uint32_t, bool> live;
  uint32_t next = 1;
};

using Log = std::vector<std::string>;

// The game on the headless platform in a directory that holds only a sound
// archive, with the music going to a scripted library.
class SoundControl : public ::testing::Test {
 protected:
  void SetUp() override {
    oldDir_ = fs::current_path();
    dir_ = fs::temp_directory_path() /
           ("bd-sound-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(dir_ / "Data");
    fs::current_path(dir_);
    WriteSounds({"button_up", "button_down", "boom"});
    app = std::make_unique<TApplication>(platform.Get());
    app->Title = kGameTitle;
    form = std::make_unique<TMainForm>(*app);
    form->SetMusicLibrary(music);
    // Without its pictures the start-up stops early; the flags are as it leaves them.
    form->GameSound.Checked = true;
    form->GameMusic.Checked = true;
    form->Show();  // the display comes up and loads the sounds
    platform.messageBox.Clear();
    platform.audio.ClearEvents();
  }
  void TearDown() override {
    form.reset();
    app.reset();
    fs::current_path(oldDir_);
    fs::remove_all(dir_);
  }

  void WriteSounds(const std::vector<std::string>& names) {
    std::vector<TSoundArchiveItem> items;
    for (const auto& n : names)
      items.push_back({n, std::nullopt, std::nullopt, test::SquareWave(1, 22050, 16, 500)});
    test::WriteFile("Data/Sound.dxw", WriteSoundArchive(items));
  }

  // Names of the sounds that have a playing voice.
  std::vector<std::string> Playing() {
    // The live voices that hold their own samples are the sounds' main
    // voices, made in archive order; every copy names the one it shares.
    std::vector<int> mains;
    for (int v = 1; v <= platform.audio.VoiceCount(); ++v)
      if (platform.audio.VoiceState(v).alive && platform.audio.VoiceState(v).data == v) mains.push_back(v);
    TWaveCollection& sounds = form->DXWaveList.Items();
    EXPECT_EQ(mains.size(), static_cast<size_t>(sounds.Count()));
    std::vector<std::string> out;
    for (size_t i = 0; i < mains.size(); ++i)
      for (int v = 1; v <= platform.audio.VoiceCount(); ++v)
        if (platform.audio.VoiceState(v).playing && platform.audio.VoiceState(v).data == mains[i]) {
          out.push_back(sounds.Items(static_cast<int>(i)).Name());
          break;
        }
    return out;
  }

  THeadlessPlatform platform;
  TScriptedMusic music;
  std::unique_ptr<TApplication> app;
  std::unique_ptr<TMainForm> form;

 private:
  fs::path oldDir_;
  fs::path dir_;
};

TEST_F(SoundControl, SoundsPlayByNameOnlyWhileSoundIsOn) {
  form->PlaySound(snd::Explosion);
  form->PlaySound(snd::ButtonUp);
  EXPECT_EQ(Playing(), (Log{"button_up", "boom"}));
  EXPECT_THROW(form->PlaySound(snd::Bell), EWaveCollectionError);  // not in this archive

  platform.audio.FinishAll();
  form->GameSound.Checked = false;
  form->PlaySound(snd::Explosion);
  EXPECT_NO_THROW(form->PlaySound(snd::Bell));  // no lookup is made
  EXPECT_TRUE(Playing().empty());
}

TEST_F(SoundControl, StopSoundKnowsAllAndTheHoverSound) {
  // No name stands for every sound.
  const std::pair<std::optional<TSoundName>, Log> cases[] = {
      {std::nullopt, {}},
      {snd::ButtonUp, {"button_down", "boom"}},
      {snd::Explosion, {"button_up", "button_down", "boom"}},  // any other name does nothing
  };
  for (const auto& [name, left] : cases) {
    form->GameSound.Checked = true;
    for (TSoundName s : {snd::ButtonUp, snd::ButtonDown, snd::Explosion}) form->PlaySound(s);
    form->GameSound.Checked = false;  // stopping works whatever the flag says
    if (name)
      form->StopSound(*name);
    else
      form->StopAllSounds();
    EXPECT_EQ(Playing(), left) << (name ? name->Text() : "every sound");
    form->StopAllSounds();
  }
}

TEST_F(SoundControl, PlayMusicReplacesTheSongAndStartsItFromTheBeginning) {
  music.Take();
  form->PlayMusic("2");
  form->PlayMusic("2");  // the same song again starts over
  EXPECT_EQ(music.Take(), (Log{"load Music/Main.xm", "play 1", "free 1", "load Music/Main.xm", "play 2"}));

  form->PlayMusic("7");  // no such song: silence until the next one
  EXPECT_EQ(form->SongHandle, 0u);
  form->PlayMusic("3");
  EXPECT_EQ(music.Take(), (Log{"free 2", "load Music/.xm", "load Music/GameOver.xm", "play 3"}));

  form->GameMusic.Checked = false;  // music off leaves the current song alone
  form->PlayMusic("1");
  EXPECT_TRUE(music.Take().empty());
  EXPECT_EQ(form->SongHandle, 3u);

  form->StopMusic();
  form->StopMusic();
  EXPECT_EQ(music.Take(), (Log{"free 3"}));
  EXPECT_EQ(form->SongHandle, 0u);
}

TEST_F(SoundControl, WatchdogRestartsTheScreensSongOnceItHasWrapped) {
  struct Case {
    uint8_t screen;
    std::vector<int32_t> orders;  // the song's position at each drawn frame
    Log restarts;
    int32_t lastOrder;  // what the watchdog remembers at the end
  };
  const Case cases[] = {
      // A restarted song is watched from position 0 again.
      {screen::MainMenu, {0, 0, 1, 2, 2, 0}, {"load Music/Menu.xm"}, 0},
      {screen::Help, {1, 0}, {"load Music/Menu.xm"}, 0},
      {screen::Race, {0, 3, 0}, {"load Music/Main.xm"}, 0},
      {screen::GameOver, {1, 0}, {"load Music/GameOver.xm"}, 0},
      // The exit screen lets the song play on and keeps the last position.
      {screen::Exit, {0, 1, 2, 0, 0, 1, 0}, {}, 1},
      {screen::Options, {0, 0, 0, 0}, {}, 0},  // a song that never leaves 0
  };
  for (const Case& c : cases) {
    form->CurrentScreen = c.screen;
    form->PlayMusic("1");
    music.Take();
    for (int32_t order : c.orders) {
      music.order = order;
      form->MusicWatchdog();
    }
    Log loads;
    for (const auto& line : music.Take())
      if (line.rfind("load", 0) == 0) loads.push_back(line);
    EXPECT_EQ(loads, c.restarts) << int(c.screen);
    EXPECT_EQ(form->LastOrder, c.lastOrder) << int(c.screen);
  }
}

TEST_F(SoundControl, WatchdogRunsAfterEveryDrawnFrame) {
  form->CurrentScreen = screen::Help;
  form->PlayMusic("1");
  music.order = 2;
  app->RunUntil(platform.clock.Milliseconds() + 100);
  EXPECT_EQ(form->LastOrder, 2);
  music.Take();
  music.order = 0;
  app->RunUntil(platform.clock.Milliseconds() + 100);
  EXPECT_EQ(music.Take(), (Log{"free 1", "load Music/Menu.xm", "play 2"}));
}

TEST_F(SoundControl, EveryDisplayStartReloadsTheSounds) {
  WriteSounds({"viva"});
  platform.window.SetDisplayModes({{800, 600, 32}});
  form->GameFullScreenClick();
  ASSERT_TRUE(form->DXDraw.Initialized());
  EXPECT_EQ(form->DXWaveList.Items().Count(), 1);
  form->PlaySound(snd::Viva);
  EXPECT_EQ(Playing(), (Log{"viva"}));

  // A missing archive is reported; the display still comes up.
  fs::remove("Data/Sound.dxw");
  form->GameFullScreenClick();
  ASSERT_EQ(platform.messageBox.Messages().size(), 1u);
  EXPECT_NE(platform.messageBox.Messages()[0].text.find("Data/Sound.dxw"), std::string::npos);
  EXPECT_TRUE(form->DXDraw.ReadyToDraw());
  EXPECT_EQ(form->DXWaveList.Items().Count(), 1);  // the old sounds stay
}

TEST_F(SoundControl, FocusDecidesWhetherSoundsAndMusicAreHeard) {
  music.Take();
  platform.events.Activate(false);
  app->RunUntil(platform.clock.Milliseconds() + 50);
  EXPECT_TRUE(platform.audio.Muted());
  EXPECT_EQ(music.Take(), (Log{"pause"}));
  platform.events.Activate(true);
  app->RunUntil(platform.clock.Milliseconds() + 50);
  EXPECT_FALSE(platform.audio.Muted());
  EXPECT_EQ(music.Take(), (Log{"resume"}));
}

TEST_F(SoundControl, TheMusicStepsBackUnderACueForTheCuesLength) {
  WriteSounds({"button_up", "back1", "ruchnik", "boom", "beep"});
  platform.window.SetDisplayModes({{800, 600, 32}});
  form->GameFullScreenClick();  // the display starts again and loads them
  form->PlaySound(snd::Explosion);
  for (TSoundName other : {snd::ButtonUp, snd::EngineIdle, snd::Handbrake}) form->PlaySound(other);
  form->DXWaveList.Items().FindSound("beep").Frequency = 44100;  // played twice as fast
  form->PlaySound(snd::Beep);
  ASSERT_EQ(music.ducks.size(), 2u);
  EXPECT_DOUBLE_EQ(music.ducks[0], 500.0 / 22050);
  EXPECT_DOUBLE_EQ(music.ducks[1], 500.0 / 44100);
  form->GameSound.Checked = false;  // a cue that is not played ducks nothing
  form->PlaySound(snd::Explosion);
  EXPECT_EQ(music.ducks.size(), 2u);
}

}  // namespace
}  // namespace bd
