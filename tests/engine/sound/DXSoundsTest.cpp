#include <gtest/gtest.h>

#include "codec/Cp1251.h"
#include "engine/sound/DXSounds.h"
#include "engine/platform/headless/HeadlessAudio.h"
#include "support/SoundFixtures.h"

namespace bd {
namespace {

using Kind = THeadlessAudio::Event::Kind;

// A sound list on a working headless mixer, with one sound "s" in it.
class SoundList : public ::testing::Test {
 protected:
  void SetUp() override {
    list.SetDXSound(&sound);
    sound.Initialize();
    item = &AddSound("s", test::SquareWave(1, 22050, 16, 100));
  }

  TWaveCollectionItem& AddSound(const std::string& name, const std::vector<uint8_t>& wave) {
    TWaveCollectionItem& it = list.Items().Add();
    it.SetName(name);
    it.Wave().LoadFromBytes(wave);
    it.Restore();
    return it;
  }

  // The voices started since the last call, in order, with whether each
  // started from its beginning.
  std::vector<std::pair<int, bool>> Starts() {
    std::vector<std::pair<int, bool>> out;
    for (const auto& e : audio.Events())
      if (e.kind == Kind::Play) out.emplace_back(e.voice, e.fromStart);
    audio.ClearEvents();
    return out;
  }

  using Starts_t = std::vector<std::pair<int, bool>>;

  THeadlessAudio audio;
  TDXSound sound{&audio};
  TDXWaveList list;
  TWaveCollectionItem* item = nullptr;
};

// Voice 1 is the main voice of "s"; its copies are numbered from 2.

TEST_F(SoundList, LimitTwoCutsOffTheCopyRestartedLongestAgo) {
  item->SetMaxPlayingCount(2);
  for (int i = 0; i < 4; ++i) item->PlayWave();
  // The third play restarts the first copy, which moves to the end of the
  // list, so the fourth restarts the second.
  EXPECT_EQ(Starts(), (Starts_t{{2, true}, {3, true}, {2, true}, {3, true}}));
  EXPECT_EQ(item->CopyCount(), 2u);

  audio.Finish(3);  // a finished copy is reused where it stands
  item->PlayWave();
  item->PlayWave();
  EXPECT_EQ(Starts(), (Starts_t{{3, true}, {2, true}}));
}

TEST_F(SoundList, NoLimitLayersEveryPlayAndReusesFinishedCopies) {
  for (int i = 0; i < 5; ++i) item->PlayWave();
  EXPECT_EQ(audio.PlayingVoices(), 5);
  EXPECT_EQ(Starts(), (Starts_t{{2, true}, {3, true}, {4, true}, {5, true}, {6, true}}));

  audio.Finish(4);
  item->PlayWave();
  audio.FinishAll();
  item->PlayWave();
  item->PlayWave();
  EXPECT_EQ(Starts(), (Starts_t{{4, true}, {2, true}, {3, true}}));
  EXPECT_EQ(audio.VoiceCount(), 6);
}

TEST_F(SoundList, LoopedSoundRestartsItsOneVoice) {
  item->SetLooped(true);
  item->PlayWave();
  item->PlayWave();
  for (const auto& e : audio.Events())
    if (e.kind == Kind::Play) {
      EXPECT_TRUE(e.looping);
    }
  EXPECT_EQ(Starts(), (Starts_t{{1, true}, {1, true}}));
  EXPECT_EQ(audio.PlayingVoices(), 1);
  EXPECT_EQ(item->CopyCount(), 0u);

  item->SetLooped(false);  // changing the flag stops the sound
  EXPECT_EQ(audio.PlayingVoices(), 0);
}

TEST_F(SoundList, StopWaveStopsEveryCopyAndPlayStartsFromTheBeginning) {
  for (int i = 0; i < 3; ++i) item->PlayWave();
  item->StopWave();
  EXPECT_EQ(audio.PlayingVoices(), 0);
  EXPECT_FALSE(audio.VoiceState(2).atStart);  // stopping keeps the position
  Starts();
  item->PlayWave();
  EXPECT_EQ(Starts(), (Starts_t{{2, true}}));
}

TEST_F(SoundList, MaxPlayingCountClampsAndDiscardsCopiesOnChange) {
  item->PlayWave();
  item->PlayWave();
  item->SetMaxPlayingCount(0);  // unchanged: copies stay
  EXPECT_EQ(item->CopyCount(), 2u);
  item->SetMaxPlayingCount(-5);
  EXPECT_EQ(item->MaxPlayingCount(), 0);
  EXPECT_EQ(item->CopyCount(), 2u);
  item->SetMaxPlayingCount(3);
  EXPECT_EQ(item->CopyCount(), 0u);
  EXPECT_FALSE(audio.VoiceState(2).alive);
  EXPECT_TRUE(audio.VoiceState(1).alive);  // the main voice stays
}

TEST_F(SoundList, FrequencyPanAndVolumeAreGivenToEveryStartedCopy) {
  item->Frequency = 11025;
  item->Pan = -2500;
  item->Volume = -600;
  item->PlayWave();
  const auto& copy = audio.VoiceState(2);
  EXPECT_EQ(copy.frequency, 11025u);
  EXPECT_EQ(copy.pan, -2500);
  EXPECT_EQ(copy.volume, -600);
  EXPECT_EQ(copy.data, 1);  // shares the main voice's samples
}

TEST_F(SoundList, FindSoundIgnoresCaseAndTheLastNamedWins) {
  TWaveCollectionItem& boom = AddSound("boom", test::SquareWave(1, 8000, 8, 10));
  TWaveCollectionItem& boom2 = AddSound("Boom", test::SquareWave(1, 8000, 8, 10));
  EXPECT_EQ(&list.Items().FindSound("BOOM"), &boom2);
  boom.SetName("boom");  // the same name again changes nothing
  EXPECT_EQ(&list.Items().FindSound("boom"), &boom2);
  boom.SetName("Boom ");
  boom.SetName("boom");  // named again: now the most recent
  EXPECT_EQ(&list.Items().FindSound("bOOm"), &boom);

  const std::string pause = W("Пауза");
  TWaveCollectionItem& cyr = AddSound(pause, test::SquareWave(1, 8000, 8, 10));
  EXPECT_EQ(&list.Items().FindSound(W("ПАУЗА")), &cyr);

  try {
    list.Items().FindSound("missing");
    FAIL();
  } catch (const EWaveCollectionError& e) {
    EXPECT_STREQ(e.what(), "Wave 'missing' not found");
    EXPECT_EQ(e.ClassName(), "EWaveCollectionError");
  }
}

TEST(NameIndex, BucketOfTheLowerCasedName) {
  EXPECT_EQ(NameBucket("abc"), 243);
  EXPECT_EQ(NameBucket("ABC"), 243);
  EXPECT_EQ(NameBucket("x"), 16);
  EXPECT_EQ(NameBucket(""), 0);
  EXPECT_EQ(AnsiLowerCase(W("ЁЖ Ї")), W("ёж ї"));
}

TEST_F(SoundList, UnplayableRecordingsLoadAndStaySilent) {
  const std::vector<uint8_t> bad[] = {
      test::RiffWave({{"fmt ", test::FmtBody(2, 1, 22050, 4)}, {"data", {1, 2, 3, 4}}}),  // compressed
      test::RiffWave(
          {{"fmt ", test::FmtBody(1, 2, 44100, 24)}, {"data", std::vector<uint8_t>(60, 9)}}),  // 24-bit
      test::RiffWave({{"fmt ", test::FmtBody(1, 0, 44100, 16)}, {"data", {1, 2, 3, 4}}}),      // no channels
      test::RiffWave({{"fmt ", test::FmtBody(1, 2, 44100, 16)}, {"data", {1, 2, 3}}}),  // no whole frame
      test::RiffWave({{"data", {1, 2, 3, 4}}}),                                         // no format
      test::RiffWave({{"fmt ", test::FmtBody(1, 1, 22050, 16)}}),                       // no samples
  };
  audio.ClearEvents();
  for (const auto& file : bad) {
    TWaveCollectionItem& it = AddSound("bad", file);
    it.PlayWave();
    it.StopWave();
  }
  EXPECT_TRUE(audio.Events().empty());
}

// Records what a sound device tells its listeners.
struct TRecorder : IDXSoundListener {
  TRecorder(std::vector<std::string>& log, std::string name) : log_(log), name_(std::move(name)) {}
  void DXSoundNotify(TDXSound&, TDXSoundNotifyType type) override {
    log_.push_back(name_ + std::to_string(static_cast<int>(type)));
  }
  std::vector<std::string>& log_;
  std::string name_;
};

TEST(DXSound, NotifiesListenersLastRegisteredFirst) {
  THeadlessAudio audio;
  std::vector<std::string> log;
  TRecorder a(log, "a"), b(log, "b"), late(log, "late");
  {
    TDXSound sound(&audio);
    sound.RegisterNotifyEvent(&a);
    sound.RegisterNotifyEvent(&b);
    sound.Loaded();
    EXPECT_TRUE(sound.Initialized());
    EXPECT_TRUE(audio.IsOpen());
    sound.RegisterNotifyEvent(&late);  // already up: initialise and restore at once
    sound.UnRegisterNotifyEvent(&late);
    sound.Finalize();
    EXPECT_FALSE(audio.IsOpen());
    sound.Initialize();
  }
  EXPECT_EQ(log, (std::vector<std::string>{"b1",    "a1",    "b2", "a2", "b4", "a4", "late2",
                                           "late4", "late3", "b3", "a3", "b1", "a1", "b2",
                                           "a2",    "b4",    "a4", "b0", "a0", "b3", "a3"}));
}

TEST(DXSound, WithoutADeviceTheGameRunsSilent) {
  for (bool noAudioAtAll : {false, true}) {
    THeadlessAudio audio(/*deviceAvailable=*/false);
    TDXSound sound(noAudioAtAll ? nullptr : &audio);
    TDXWaveList list;
    list.SetDXSound(&sound);
    EXPECT_THROW(sound.Initialize(), EDirectSoundError);
    ASSERT_NO_THROW(sound.Loaded());  // the automatic start swallows it
    EXPECT_FALSE(sound.Initialized());

    TWaveCollectionItem& it = list.Items().Add();
    it.Wave().LoadFromBytes(test::SquareWave(1, 22050, 16, 100));
    it.Restore();
    it.PlayWave();
    it.StopWave();
    EXPECT_FALSE(it.Initialized());
    EXPECT_EQ(audio.VoiceCount(), 0);
  }
}

TEST(DXSound, SoundListFollowsTheDeviceUpAndDown) {
  THeadlessAudio audio;
  TDXSound sound(&audio);
  TDXWaveList list;
  TWaveCollectionItem& it = list.Items().Add();
  it.Wave().LoadFromBytes(test::SquareWave(2, 44100, 16, 100));
  list.SetDXSound(&sound);
  EXPECT_FALSE(it.Initialized());  // loaded while the mixer is down

  sound.Loaded();  // initialise, then restore: the main voice is made
  EXPECT_TRUE(it.Initialized());
  EXPECT_EQ(audio.LiveVoices(), 1);
  it.PlayWave();
  EXPECT_EQ(audio.LiveVoices(), 2);

  sound.Finalize();  // every voice goes with the mixer
  EXPECT_FALSE(it.Initialized());
  EXPECT_EQ(audio.LiveVoices(), 0);
  it.PlayWave();
  EXPECT_EQ(audio.LiveVoices(), 0);

  sound.Initialize();
  it.PlayWave();
  EXPECT_EQ(audio.PlayingVoices(), 1);

  list.SetDXSound(nullptr);  // unbinding finalises too
  EXPECT_EQ(audio.LiveVoices(), 0);
}

TEST(DXSound, FocusLossMutesUnlessAFocusOptionIsSet) {
  const std::pair<uint8_t, bool> cases[] = {
      {0, true}, {soGlobalFocus, false}, {soStickyFocus, false}, {soExclusive, true}};
  for (auto [options, muted] : cases) {
    THeadlessAudio audio;
    TDXSound sound(&audio);
    sound.Options = options;
    sound.Initialize();
    sound.SetFocused(false);
    EXPECT_EQ(audio.Muted(), muted) << int(options);
    sound.SetFocused(true);
    EXPECT_FALSE(audio.Muted());
  }
}

}  // namespace
}  // namespace bd
