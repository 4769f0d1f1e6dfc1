#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

#include "app/MusicDucking.h"
#include "app/MusicLibrary.h"
#include "engine/platform/headless/HeadlessAudio.h"
#include "engine/platform/sdl/SdlAudio.h"
#include "support/SoundFixtures.h"

namespace bd {
namespace {

namespace fs = std::filesystem;

class MusicLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::path(::testing::TempDir()) / ("bd_music_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    audio.Open();
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = (dir / name).string();
    test::WriteFile(path, bytes);
    return path;
  }

  fs::path dir;
  THeadlessAudio audio;
};

TEST_F(MusicLibrary, OrderPositionAdvancesAndWrapsToZero) {
  TXmpMusicLibrary music(&audio);
  // A module that would go on at a later position also comes back to 0.
  for (int restart : {0, 1}) {
    // A '\' in the relative path names the folder, as in the game's own paths.
    Write("Song.xm", test::TinyXm(3, 4, restart));
    const fs::path cwd = fs::current_path();
    fs::current_path(dir.parent_path());
    const uint32_t song = music.SongLoadFromFile(dir.filename().string() + "\\Song.xm");
    fs::current_path(cwd);
    ASSERT_NE(song, 0u);
    EXPECT_EQ(music.SongGetOrder(song), 0);
    music.SongPlay(song);

    std::vector<int32_t> orders;  // each change of position
    bool loud = false;
    for (int i = 0; i < 400 && music.SongLoopCount(song) < 2; ++i) {
      for (int16_t s : audio.PullMusic(256)) loud = loud || std::abs(s) > 1000;
      const int32_t order = music.SongGetOrder(song);
      if (orders.empty() || orders.back() != order) orders.push_back(order);
    }
    EXPECT_TRUE(loud);
    EXPECT_EQ(orders, (std::vector<int32_t>{0, 1, 2, 0, 1, 2, 0})) << restart;

    // Playing again starts from the beginning; freeing stops the sound
    // once its short fade has run out.
    music.SongPlay(song);
    EXPECT_EQ(music.SongGetOrder(song), 0);
    music.SongFree(song);
    EXPECT_EQ(music.SongGetOrder(song), 0);
    audio.PullMusic(TXmpMusicLibrary::kFadeFrames);
    for (int16_t s : audio.PullMusic(512)) ASSERT_EQ(s, 0);
  }
}

int Loudest(const std::vector<int16_t>& samples, size_t from, size_t to) {
  int loudest = 0;
  for (size_t i = from; i < std::min(to, samples.size()); ++i)
    loudest = std::max(loudest, std::abs(static_cast<int>(samples[i])));
  return loudest;
}

TEST_F(MusicLibrary, StartingAndStoppingASongFadesInsteadOfJumping) {
  constexpr size_t kFade = TXmpMusicLibrary::kFadeFrames;
  Write("Song.xm", test::TinyXm(2, 8));
  TXmpMusicLibrary music(&audio);
  const uint32_t song = music.SongLoadFromFile((dir / "Song.xm").string());
  ASSERT_NE(song, 0u);
  music.SongPlay(song);
  std::vector<int16_t> playing = audio.PullMusic(4410);
  const int loudest = Loudest(playing, 0, playing.size());
  ASSERT_GT(loudest, 4000);
  // It rises from silence.
  EXPECT_LT(Loudest(playing, 0, 40), loudest / 10);

  // Started again (as the watchdog does at the song's end): the old wave
  // goes on from its last sample under the new one's fade-in.
  int16_t last = playing[playing.size() - 2];
  music.SongPlay(song);
  playing = audio.PullMusic(4410);
  EXPECT_LT(std::abs(playing[0] - last), loudest / 4);

  // Freed: the wave goes on from its last sample and dies away within the fade.
  last = playing[playing.size() - 2];
  music.SongFree(song);
  const std::vector<int16_t> after = audio.PullMusic(kFade + 441);
  EXPECT_LT(std::abs(after[0] - last), loudest / 4);
  EXPECT_LT(Loudest(after, 2 * kFade * 9 / 10, 2 * kFade), loudest / 8);
  EXPECT_EQ(Loudest(after, 2 * kFade, after.size()), 0);
}

// The same song played by a second library on an output of its own: what the
// music would have been without the cue or the pause.
class MusicBeside : public MusicLibrary {
 protected:
  void SetUp() override {
    MusicLibrary::SetUp();
    otherAudio.Open();
    const std::string path = Write("Song.xm", test::TinyXm(2, 8));
    song = music.SongLoadFromFile(path);
    otherSong = other.SongLoadFromFile(path);
    ASSERT_NE(song, 0u);
    music.SongPlay(song);
    other.SongPlay(otherSong);
    ASSERT_EQ(audio.PullMusic(4410), otherAudio.PullMusic(4410));
  }

  THeadlessAudio otherAudio;
  TXmpMusicLibrary music{&audio}, other{&otherAudio};
  uint32_t song = 0, otherSong = 0;
};

TEST_F(MusicBeside, ACueDucksTheSongForItsLengthAndThenLeavesItAsItWas) {
  music.DuckUnderCue(0.1);
  const std::vector<int16_t> ducked = audio.PullMusic(4410), plain = otherAudio.PullMusic(4410);
  ASSERT_GT(Loudest(plain, 2 * 1323, plain.size()), 4000);
  // Once the 30 ms ramp is down the song plays at the ducked gain.
  for (size_t i = 2 * 1323; i < plain.size(); ++i)
    ASSERT_NEAR(ducked[i], plain[i] * TMusicDucking::kDuckedGain, 1) << i;
  // On the way down the gain the song is played at only falls, in small steps.
  double gain = 1;
  for (size_t i = 0; i < 2 * 1323; ++i) {
    if (std::abs(plain[i]) < 2000) continue;  // too quiet to read the gain from
    const double now = static_cast<double>(ducked[i]) / plain[i];
    ASSERT_LT(now, gain + 0.002) << i;
    ASSERT_GT(now, gain - 0.02) << i;
    gain = now;
  }
  EXPECT_LT(gain, 0.3);
  // After the 300 ms release it is the song as it was, sample for sample.
  audio.PullMusic(13230);
  otherAudio.PullMusic(13230);
  EXPECT_EQ(audio.PullMusic(4410), otherAudio.PullMusic(4410));
}

TEST_F(MusicBeside, PausedTheSongFadesOutStandsStillAndComesBackWhereItWas) {
  constexpr size_t kFade = TXmpMusicLibrary::kFadeFrames;
  const std::vector<int16_t> before = audio.PullMusic(441);
  otherAudio.PullMusic(441);
  const int loudest = Loudest(before, 0, before.size());
  music.SetPaused(true);
  const std::vector<int16_t> paused = audio.PullMusic(kFade + 44100);
  EXPECT_LT(std::abs(paused[0] - before[before.size() - 2]), loudest / 4);  // no jump into the fade
  EXPECT_EQ(Loudest(paused, 2 * kFade, paused.size()), 0);
  music.SetPaused(true);  // pausing twice changes nothing
  EXPECT_EQ(Loudest(audio.PullMusic(441), 0, 882), 0);

  // Back, it rises from silence and goes on from where the fade left it: the
  // song beside it plays the fade's moments to be there too.
  music.SetPaused(false);
  otherAudio.PullMusic(kFade);
  const std::vector<int16_t> back = audio.PullMusic(4410), plain = otherAudio.PullMusic(4410);
  EXPECT_LT(Loudest(back, 0, 40), loudest / 10);
  EXPECT_EQ(std::vector<int16_t>(back.begin() + 2 * kFade, back.end()),
            std::vector<int16_t>(plain.begin() + 2 * kFade, plain.end()));

  // A song started while paused waits for the pause to end.
  music.SetPaused(true);
  audio.PullMusic(kFade);
  music.SongPlay(song);
  EXPECT_EQ(Loudest(audio.PullMusic(4410), 0, 8820), 0);
  music.SetPaused(false);
  EXPECT_GT(Loudest(audio.PullMusic(4410), 0, 8820), 4000);
}

TEST_F(MusicLibrary, SongsThatCannotBeLoadedGiveHandleZero) {
  TXmpMusicLibrary music(&audio);
  const std::vector<uint8_t> xm = test::TinyXm(2, 4);
  std::vector<uint8_t> mod(2000, 0);
  std::memcpy(mod.data() + 1080, "M.K.", 4);
  const std::string paths[] = {
      (dir / "missing.xm").string(),
      Write("wave.xm", test::SquareWave(1, 8000, 8, 100)),
      Write("mod.xm", mod),  // a tracker module of another kind
      Write("cut.xm", std::vector<uint8_t>(xm.begin(), xm.begin() + 40)),
      Write("empty.xm", {}),
      dir.string(),  // a folder
  };
  for (const std::string& p : paths) EXPECT_EQ(music.SongLoadFromFile(p), 0u) << p;
  // Unknown handles are ignored.
  music.SongPlay(77);
  music.SongFree(77);
  EXPECT_EQ(music.SongGetOrder(77), 0);
}

// The "disk" driver writes what would be heard into a file.
TEST_F(MusicLibrary, APlayingSongReachesTheOutput) {
  const std::string song = Write("Menu.xm", test::TinyXm(2, 8));
  const std::string out = (dir / "output.raw").string();
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
  {
    TSdlAudio sdl;
    ASSERT_TRUE(sdl.Open()) << SDL_GetError();
    TXmpMusicLibrary music(&sdl);
    const uint32_t handle = music.SongLoadFromFile(song);
    ASSERT_NE(handle, 0u);
    music.SongPlay(handle);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (music.SongLoopCount(handle) == 0 && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GT(music.SongLoopCount(handle), 0);
  }
  setenv("SDL_AUDIODRIVER", "dummy", 1);

  const auto bytes = test::ReadFile(out);
  int loud = 0;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    if (std::abs(static_cast<int16_t>(bytes[i] | (bytes[i + 1] << 8))) > 1000) ++loud;
  EXPECT_GT(loud, 1000);
}

}  // namespace
}  // namespace bd
