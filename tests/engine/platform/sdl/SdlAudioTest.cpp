#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>
#include <cstdlib>
#include <thread>

#include "engine/sound/DXSounds.h"
#include "engine/platform/sdl/SdlAudio.h"
#include "support/SoundFixtures.h"

namespace bd {
namespace {

TEST(SdlAudio, ConvertsEveryPlainFormatAndRefusesTheRest) {
  TSdlAudio audio;
  ASSERT_TRUE(audio.Open()) << SDL_GetError();
  struct Case {
    uint16_t tag, channels;
    uint32_t rate;
    uint16_t bits;
    bool playable;
  };
  const Case cases[] = {
      {1, 1, 11025, 8, true},   {1, 2, 22050, 8, true},   {1, 1, 44100, 16, true}, {1, 2, 11025, 16, true},
      {1, 2, 48000, 32, true},  {3, 1, 22050, 32, true},  {1, 6, 44100, 16, true}, {2, 1, 22050, 4, false},
      {1, 2, 44100, 24, false}, {1, 0, 44100, 16, false}, {1, 1, 0, 16, false},    {85, 2, 44100, 0, false},
      // At a few hertz, 500 frames would take hundreds of megabytes once converted.
      {1, 1, 1, 8, false},      {1, 2, 1, 32, false},
  };
  for (const Case& c : cases) {
    TWaveFormat f;
    f.FormatTag = c.tag;
    f.Channels = c.channels;
    f.SamplesPerSec = c.rate;
    f.BitsPerSample = c.bits;
    const auto samples = test::SquareSamples(c.channels == 0 ? 1 : c.channels, c.bits < 8 ? 8 : c.bits, 500);
    auto voice = audio.CreateBuffer(f, samples.data(), samples.size());
    EXPECT_EQ(voice != nullptr, c.playable) << c.tag << " " << c.channels << " " << c.rate << " " << c.bits;
    if (voice == nullptr) continue;
    // A duplicate shares the samples and plays on a channel of its own.
    auto copy = voice->Duplicate();
    voice->Play(false);
    copy->Play(true);
    EXPECT_TRUE(voice->IsPlaying());
    EXPECT_TRUE(copy->IsPlaying());
    copy->Stop();
    EXPECT_FALSE(copy->IsPlaying());
    EXPECT_TRUE(voice->IsPlaying());
  }
}

TEST(SdlAudio, ChannelsGrowWithTheVoices) {
  TSdlAudio audio;
  ASSERT_TRUE(audio.Open());
  const auto wave = test::SquareSamples(1, 16, 4000);
  TWaveFormat f{1, 1, 22050, 44100, 2, 16};
  auto main = audio.CreateBuffer(f, wave.data(), wave.size());
  ASSERT_NE(main, nullptr);
  std::vector<std::unique_ptr<ISoundBuffer>> copies;
  for (int i = 0; i < 100; ++i) {
    copies.push_back(main->Duplicate());
    copies.back()->Play(true);
  }
  for (auto& c : copies) EXPECT_TRUE(c->IsPlaying());
  copies.clear();
  EXPECT_FALSE(main->IsPlaying());
}

// The "disk" driver writes what would be heard into a file. The sound is
// panned hard right and played twice, the second time after its channel has
// ended (when the mixer forgets a channel's panning): both times only the
// right side is loud.
TEST(SdlAudio, APlayedSoundReachesTheOutputPannedEveryTime) {
  // One file per process: test runs of other build trees may run at once.
  const std::string out = ::testing::TempDir() + "bd_sound_output_" + std::to_string(::getpid()) + ".raw";
  std::remove(out.c_str());
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
  {
    TSdlAudio audio;
    TDXSound sound(&audio);
    TDXWaveList list;
    list.SetDXSound(&sound);
    sound.Loaded();
    ASSERT_TRUE(sound.Initialized()) << SDL_GetError();
    TWaveCollectionItem& item = list.Items().Add();
    item.SetName("beep");
    item.Wave().LoadFromBytes(test::SquareWave(1, 11025, 8, 11025 / 5));
    item.Restore();
    item.Pan = 5000;
    item.PlayWave(/*wait=*/true);
    item.PlayWave(/*wait=*/true);
  }
  setenv("SDL_AUDIODRIVER", "dummy", 1);

  const auto bytes = test::ReadFile(out);
  ASSERT_GE(bytes.size(), 4u);
  // 16-bit stereo frames: left, then right.
  int loud[2] = {0, 0};
  for (size_t i = 0; i + 3 < bytes.size(); i += 4)
    for (size_t side = 0; side < 2; ++side) {
      const auto sample = static_cast<int16_t>(bytes[i + 2 * side] | (bytes[i + 2 * side + 1] << 8));
      if (std::abs(sample) > 4000) ++loud[side];
    }
  // Each play is 0.2 s, 8820 frames at the output rate.
  EXPECT_GT(loud[1], 14000);
  EXPECT_LT(loud[0], 100);
  std::remove(out.c_str());
}

// Two loud effects (a steady three quarters of full scale each) sounding
// together: at the voices' headroom their sum stays below full scale
// instead of being clipped.
TEST(SdlAudio, VoicesLeaveHeadroomSoThatTwoLoudEffectsDoNotClip) {
  const std::string out = ::testing::TempDir() + "bd_sound_headroom_" + std::to_string(::getpid()) + ".raw";
  std::remove(out.c_str());
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
  {
    TSdlAudio audio;
    ASSERT_TRUE(audio.Open()) << SDL_GetError();
    TWaveFormat format;
    format.FormatTag = 1;
    format.Channels = 2;
    format.SamplesPerSec = 44100;
    format.BitsPerSample = 16;
    format.BlockAlign = 4;
    format.AvgBytesPerSec = 44100 * 4;
    std::vector<uint8_t> samples;
    for (int i = 0; i < 2 * 44100 / 5; ++i) {
      samples.push_back(0x00);
      samples.push_back(0x60);  // 0x6000
    }
    std::unique_ptr<ISoundBuffer> first = audio.CreateBuffer(format, samples.data(), samples.size());
    ASSERT_NE(first, nullptr);
    std::unique_ptr<ISoundBuffer> second = first->Duplicate();
    first->Play(false);
    second->Play(false);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while ((first->IsPlaying() || second->IsPlaying()) && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  setenv("SDL_AUDIODRIVER", "dummy", 1);

  const auto bytes = test::ReadFile(out);
  int peak = 0;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    peak = std::max(peak, std::abs(static_cast<int>(static_cast<int16_t>(bytes[i] | (bytes[i + 1] << 8)))));
  EXPECT_GT(peak, 20000);  // both are heard, together
  EXPECT_LT(peak, 32767);
  std::remove(out.c_str());
}

}  // namespace
}  // namespace bd
