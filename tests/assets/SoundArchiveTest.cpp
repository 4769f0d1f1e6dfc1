// The built sound archive, read back through the game's own loader.

#include <gtest/gtest.h>
#include <xmp.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "Sounds.h"
#include "app/CueSounds.h"
#include "assets/AssetNames.h"
#include "engine/sound/DXSounds.h"
#include "engine/platform/MixLevels.h"

namespace bd {
namespace {

// A recording's samples in -1 .. 1, channels averaged.
synth::Buffer Samples(const TWave& w) {
  const TWaveFormat f = w.Format();
  synth::Buffer b;
  b.rate = static_cast<int>(f.SamplesPerSec);
  const size_t bytes = f.BitsPerSample / 8u, frame = bytes * f.Channels;
  for (size_t at = 0; at + frame <= w.Size(); at += frame) {
    double sum = 0;
    for (size_t c = 0; c < f.Channels; ++c) {
      const uint8_t* p = w.Data() + at + c * bytes;
      sum += bytes == 1 ? (p[0] - 128) / 128.0 : static_cast<int16_t>(p[0] | (p[1] << 8)) / 32768.0;
    }
    b.s.push_back(sum / f.Channels);
  }
  return b;
}

double Rms(const std::vector<double>& s, size_t from, size_t to) {
  double e = 0;
  for (size_t i = from; i < to; ++i) e += s[i] * s[i];
  return std::sqrt(e / static_cast<double>(to - from));
}

class SoundArchive : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sounds_ = new TWaveCollection;
    sounds_->LoadArchive(std::string(BD_RUN_DIR) + "/Data/Sound.dxw");
  }
  static void TearDownTestSuite() { delete sounds_; }
  static TWaveCollection* sounds_;
};
TWaveCollection* SoundArchive::sounds_ = nullptr;

TEST_F(SoundArchive, EveryNameIsAnAudibleRecordingInMixedFormats) {
  std::set<uint32_t> rates, bits, channels;
  for (TSoundName sound : assets::kSounds) {
    const std::string_view name = sound.Text();
    SCOPED_TRACE(std::string(name));
    TWaveCollectionItem& it = sounds_->FindSound(name);
    const TWaveFormat f = it.Wave().Format();
    ASSERT_EQ(f.FormatTag, 1);
    rates.insert(f.SamplesPerSec);
    bits.insert(f.BitsPerSample);
    channels.insert(f.Channels);
    const synth::Buffer b = Samples(it.Wave());
    ASSERT_GT(b.size(), 100u);
    double peak = 0;
    for (double v : b.s) peak = std::max(peak, std::fabs(v));
    EXPECT_GT(peak, 0.05);
    EXPECT_GT(Rms(b.s, 0, b.size()), 0.01);
    // Nothing starts with a jump: the first sample is near silence.
    EXPECT_LT(std::fabs(b.s.front()), 0.05);
  }
  EXPECT_EQ(sounds_->Count(), static_cast<int>(std::size(assets::kSounds)));
  EXPECT_EQ(rates, (std::set<uint32_t>{11025, 22050, 44100}));
  EXPECT_EQ(bits, (std::set<uint32_t>{8, 16}));
  EXPECT_EQ(channels, (std::set<uint32_t>{1, 2}));
}

// Speed in pixels per frame over the test drive: idle, mid, high, mid, stop.
double Drive(double t) { return t < 1.5 ? 2 : t < 3 ? 5 : t < 4.5 ? 10 : t < 5.5 ? 5 : 0; }

TEST_F(SoundArchive, EngineRestartedEveryFrameIsSteadyAndRisesWithSpeed) {
  synth::EngineLayer layers[3];
  const char* names[] = {"back1", "forward1", "forward2"};
  for (int i = 0; i < 3; ++i) {
    TWaveCollectionItem& it = sounds_->FindSound(names[i]);
    ASSERT_FALSE(it.Looped()) << names[i];  // a looped one would restart from its start each frame
    layers[i] = {Samples(it.Wave()), it.MaxPlayingCount()};
  }
  const int rate = 22050;
  for (double frameMs : {15.0, 16.0, 20.0}) {  // the timer's pace, and a slower machine's
    SCOPED_TRACE(frameMs);
    const synth::Buffer run = synth::RenderEngineRun(layers, 6.0, frameMs, Drive, rate);
    // Steady stretches of each speed range (away from its changes).
    const double spans[][2] = {{0.3, 1.4}, {1.8, 2.9}, {3.3, 4.4}};
    double level[3], bright[3];
    for (int k = 0; k < 3; ++k) {
      const size_t a = static_cast<size_t>(spans[k][0] * rate), z = static_cast<size_t>(spans[k][1] * rate);
      level[k] = Rms(run.s, a, z);
      // No gaps: every 10 ms holds at least half of the stretch's level.
      for (size_t i = a; i + rate / 100 <= z; i += rate / 100)
        ASSERT_GT(Rms(run.s, i, i + rate / 100), level[k] * 0.5) << "gap at " << double(i) / rate;
      // No clicks: no sample jumps far beyond the stretch's usual movement.
      double usual = 0, worst = 0;
      for (size_t i = a + 1; i < z; ++i) {
        usual += std::fabs(run.s[i] - run.s[i - 1]);
        worst = std::max(worst, std::fabs(run.s[i] - run.s[i - 1]));
      }
      usual /= static_cast<double>(z - a);
      EXPECT_LT(worst, usual * 12) << "click in stretch " << k;
      // Brightness: how fast the signal moves against how loud it is, which
      // grows with the pitch of what sounds.
      double moves = 0;
      for (size_t i = a + 1; i < z; ++i) moves += (run.s[i] - run.s[i - 1]) * (run.s[i] - run.s[i - 1]);
      bright[k] = std::sqrt(moves / static_cast<double>(z - a)) / level[k];
    }
    // Louder and brighter as the car speeds up, and never clipping.
    EXPECT_GT(level[1], level[0] * 1.15);
    EXPECT_GT(level[2], level[1] * 0.95);
    EXPECT_GT(bright[1], bright[0] * 1.5);
    EXPECT_GT(bright[2], bright[1] * 1.5);
    double peak = 0;
    for (double v : run.s) peak = std::max(peak, std::fabs(v));
    EXPECT_LT(peak, 1.0);
    // The sound fades out once the car has stopped.
    EXPECT_LT(Rms(run.s, static_cast<size_t>(5.8 * rate), static_cast<size_t>(6.0 * rate)), 1e-6);
    if (frameMs == 15.0) {
      // Kept next to the contact sheet for listening and measuring (sox stat).
      std::filesystem::path out = std::filesystem::path(BD_RUN_DIR).parent_path() / "assets";
      std::filesystem::create_directories(out);
      const auto wav = synth::WaveFile(run, nullptr, 16);
      FILE* f = std::fopen((out / "engine-run.wav").string().c_str(), "wb");
      ASSERT_NE(f, nullptr);
      std::fwrite(wav.data(), 1, wav.size(), f);
      std::fclose(f);
    }
  }
}

}  // namespace
}  // namespace bd

namespace bd {
namespace {

// A key held for two seconds, then released.
double Held(double t) { return t < 2.0 ? 1 : 0; }

TEST_F(SoundArchive, SoundsRepeatedEveryFrameWhileAKeyIsHeldStayBelowFullScale) {
  // The handbrake plays its screech, and a held stop key its hard stop, in
  // every frame; the copies that pile up must not distort.
  for (const char* name : {"ruchnik", "ruchnik2"}) {
    SCOPED_TRACE(name);
    TWaveCollectionItem& it = sounds_->FindSound(name);
    ASSERT_FALSE(it.Looped());
    const synth::EngineLayer layers[3] = {{Samples(it.Wave()), it.MaxPlayingCount()}, {}, {}};
    const synth::Buffer run = synth::RenderEngineRun(layers, 3.0, 15.0, Held, 22050);
    double peak = 0;
    for (double v : run.s) peak = std::max(peak, std::fabs(v));
    // No louder than one cue at its peak, which the mixer keeps room for.
    EXPECT_LT(peak, std::pow(10.0, synth::TargetOf(synth::SoundKind::Cue).peakDb / 20));
    EXPECT_GT(Rms(run.s, 22050 / 2, 22050), 0.05);  // and it is heard while held
  }
}

}  // namespace
}  // namespace bd

namespace bd {
namespace {

double FromDb(double db) { return std::pow(10.0, db / 20); }

// A recording's channels, each in -1 .. 1.
std::vector<synth::Buffer> Channels(const TWave& w) {
  const TWaveFormat f = w.Format();
  std::vector<synth::Buffer> out(f.Channels);
  for (synth::Buffer& b : out) b.rate = static_cast<int>(f.SamplesPerSec);
  const size_t bytes = f.BitsPerSample / 8u, frame = bytes * f.Channels;
  for (size_t at = 0; at + frame <= w.Size(); at += frame)
    for (size_t c = 0; c < f.Channels; ++c) {
      const uint8_t* p = w.Data() + at + c * bytes;
      out[c].s.push_back(bytes == 1 ? (p[0] - 128) / 128.0
                                    : static_cast<int16_t>(p[0] | (p[1] << 8)) / 32768.0);
    }
  return out;
}

double PeakOf(const std::vector<synth::Buffer>& channels) {
  double peak = 0;
  for (const synth::Buffer& b : channels)
    for (double v : b.s) peak = std::max(peak, std::fabs(v));
  return peak;
}

TEST_F(SoundArchive, EveryEffectHasTheLoudnessAndPeakOfItsKind) {
  for (TSoundName sound : assets::kSounds) {
    const std::string name(sound.Text());
    const synth::SoundKind kind = synth::KindOf(name);
    if (kind == synth::SoundKind::Engine) continue;  // levelled by its pile-up, below
    SCOPED_TRACE(name);
    const std::vector<synth::Buffer> ch = Channels(sounds_->FindSound(name).Wave());
    const synth::LevelTarget target = synth::TargetFor(name);
    const double loudness = synth::LoudnessDb(ch[0], ch.size() > 1 ? &ch[1] : nullptr);
    // 8-bit recordings carry their rounding on top.
    EXPECT_NEAR(loudness, target.loudnessDb, 0.5);
    EXPECT_LE(PeakOf(ch), FromDb(target.peakDb) + 1.0 / 128);
  }
}

// One pass of a built song at the game's output rate: the highest sample,
// and the loudness of each 50 ms, as libxmp renders it for the mixer.
struct SongLevels {
  double peak = 0;
  std::vector<double> windowsDb;
};

SongLevels MeasureSong(const std::string& name) {
  SongLevels out;
  xmp_context ctx = xmp_create_context();
  const std::string path = std::string(BD_RUN_DIR) + "/Music/" + name + ".xm";
  if (xmp_load_module(ctx, path.c_str()) != 0 || xmp_start_player(ctx, 44100, 0) != 0) {
    xmp_free_context(ctx);
    return out;
  }
  std::vector<int16_t> buf(2205 * 2);  // 50 ms
  xmp_frame_info fi;
  while (xmp_play_buffer(ctx, buf.data(), static_cast<int>(buf.size() * 2), 1) == 0) {
    xmp_get_frame_info(ctx, &fi);
    if (fi.loop_count > 0) break;
    double e = 0;
    for (int16_t v : buf) {
      out.peak = std::max(out.peak, std::fabs(v / 32768.0));
      e += (v / 32768.0) * (v / 32768.0);
    }
    out.windowsDb.push_back(10 * std::log10(std::max(e / static_cast<double>(buf.size()), 1e-12)));
  }
  xmp_end_player(ctx);
  xmp_release_module(ctx);
  xmp_free_context(ctx);
  return out;
}

TEST_F(SoundArchive, MixHeadroomHoldsTheMusicTheEngineAndTwoEffectsAtOnce) {
  double musicPeak = 0;
  for (const char* song : {"Menu", "Main", "GameOver"}) {
    const SongLevels levels = MeasureSong(song);
    ASSERT_FALSE(levels.windowsDb.empty()) << song;
    musicPeak = std::max(musicPeak, levels.peak);
  }
  synth::EngineLayer layers[3];
  const char* names[] = {"back1", "forward1", "forward2"};
  for (int i = 0; i < 3; ++i)
    layers[i] = {Samples(sounds_->FindSound(names[i]).Wave()),
                 sounds_->FindSound(names[i]).MaxPlayingCount()};
  double enginePeak = 0;
  for (double frameMs : {15.0, 16.0, 20.0}) {
    const synth::Buffer run = synth::RenderEngineRun(
        layers, 2.0, frameMs, [](double) { return 10.0; }, 22050);
    for (double v : run.s) enginePeak = std::max(enginePeak, std::fabs(v));
  }
  double effectPeak = 0;
  for (TSoundName sound : assets::kSounds)
    if (const std::string_view name = sound.Text();
        synth::KindOf(std::string(name)) != synth::SoundKind::Engine)
      effectPeak = std::max(effectPeak, PeakOf(Channels(sounds_->FindSound(name).Wave())));
  const double worst = kMusicGain * musicPeak + kVoiceGain * (enginePeak + 2 * effectPeak);
  RecordProperty("worst_case_sum", std::to_string(worst));
  EXPECT_LT(worst, 0.98) << "music " << musicPeak << ", engine " << enginePeak << ", effect " << effectPeak;
}

TEST_F(SoundArchive, CuesStandAboveTheRaceMusic) {
  // The race song's loud moments: the level that 95 % of its 50 ms windows stay under.
  SongLevels race = MeasureSong("Main");
  ASSERT_FALSE(race.windowsDb.empty());
  std::sort(race.windowsDb.begin(), race.windowsDb.end());
  const double musicLoudDb = race.windowsDb[race.windowsDb.size() * 95 / 100] + 20 * std::log10(kMusicGain);
  for (TSoundName sound : assets::kSounds) {
    const std::string name(sound.Text());
    if (synth::KindOf(name) != synth::SoundKind::Cue) continue;
    SCOPED_TRACE(name);
    const std::vector<synth::Buffer> ch = Channels(sounds_->FindSound(name).Wave());
    const double cueDb =
        synth::LoudnessDb(ch[0], ch.size() > 1 ? &ch[1] : nullptr) + 20 * std::log10(kVoiceGain);
    EXPECT_GT(cueDb, musicLoudDb + 3) << "music's loud moments at " << musicLoudDb << " dBFS";
  }
}

// How the meter in tools/soundmeter judges a cue in a race: its loudest
// 50 ms against the median 50 ms of the second before. The loudest such
// second is the race song's loudest (as the mixer plays it) with the engine
// at top speed; under the cue the music is ducked (left out here) and the
// engine plays on, or falls silent with the cues that stop the car. Every
// cue stands 3 dB above that, with 1.5 dB to spare for what this leaves out
// (the cue's start between two mixed buffers, a song's loud second that
// meets the cue's own loud part).
TEST_F(SoundArchive, CuesStandAboveTheRaceAtTopSpeed) {
  const SongLevels race = MeasureSong("Main");
  ASSERT_GT(race.windowsDb.size(), 20u);
  double musicDb = -200;
  for (size_t at = 0; at + 20 <= race.windowsDb.size(); ++at) {
    std::vector<double> second(race.windowsDb.begin() + at, race.windowsDb.begin() + at + 20);
    std::nth_element(second.begin(), second.begin() + 10, second.end());
    musicDb = std::max(musicDb, second[10]);
  }
  musicDb += 20 * std::log10(kMusicGain);
  synth::EngineLayer layers[3];
  const char* names[] = {"back1", "forward1", "forward2"};
  for (int i = 0; i < 3; ++i)
    layers[i] = {Samples(sounds_->FindSound(names[i]).Wave()),
                 sounds_->FindSound(names[i]).MaxPlayingCount()};
  // Top speed at the race timer's pace; the steady part after the first copies.
  const synth::Buffer run = synth::RenderEngineRun(
      layers, 2.0, 15.0, [](double) { return 14.0; }, 22050);
  const double engine = std::pow(Rms(run.s, 22050 / 2, run.size()) * kVoiceGain, 2);
  const double loudestSecond = std::pow(10.0, musicDb / 10) + engine;
  for (TSoundName sound : assets::kSounds) {
    const std::string name(sound.Text());
    if (synth::KindOf(name) != synth::SoundKind::Cue) continue;
    SCOPED_TRACE(name);
    const std::vector<synth::Buffer> ch = Channels(sounds_->FindSound(name).Wave());
    const double cue = std::pow(10.0, synth::LoudnessDb(ch[0], ch.size() > 1 ? &ch[1] : nullptr) / 10) *
                       kVoiceGain * kVoiceGain;
    const double under = cue + (synth::StopsTheEngine(name) ? 0.0 : engine);
    EXPECT_GE(10 * std::log10(under / loudestSecond), 4.5)
        << "music " << musicDb << " dBFS, engine " << 10 * std::log10(engine) << " dBFS";
  }
}

// The game steps the music back under the sounds that are made as cues, and
// under no other.
TEST_F(SoundArchive, TheMusicDucksUnderExactlyTheCues) {
  for (TSoundName sound : assets::kSounds) {
    const std::string name(sound.Text());
    EXPECT_EQ(IsCueSound(sound), synth::KindOf(name) == synth::SoundKind::Cue) << name;
  }
}

}  // namespace
}  // namespace bd
