#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "common/ArchiveWriter.h"
#include "engine/sound/DXSounds.h"
#include "engine/platform/headless/HeadlessAudio.h"
#include "support/SoundFixtures.h"

namespace bd {
namespace {

using Kind = THeadlessAudio::Event::Kind;

const std::vector<uint8_t> kBeep = test::SquareWave(1, 22050, 16, 200);
const std::vector<uint8_t> kClick = test::SquareWave(2, 11025, 8, 50);

// An archive with one item whose entries `write` puts after its "Name".
std::vector<uint8_t> OneItemArchive(const std::function<void(TComponentWriter&)>& write) {
  TComponentWriter w("TWAVECOLLECTIONCOMPONENT");
  w.WriteRootStart("TWaveCollectionComponent");
  w.WriteShortString("List");
  w.WriteValueType(TValueType::Collection);
  w.WriteValueType(TValueType::List);
  w.WriteShortString("Name");
  w.WriteString("first");
  w.WriteListEnd();
  w.WriteValueType(TValueType::List);
  w.WriteShortString("Name");
  w.WriteString("second");
  write(w);
  w.WriteListEnd();
  w.WriteListEnd();
  w.WriteListEnd();
  w.WriteListEnd();
  return w.Finish();
}

class SoundArchive : public ::testing::Test {
 protected:
  void SetUp() override {
    list.SetDXSound(&sound);
    sound.Loaded();
  }

  int Creates() const {
    int n = 0;
    for (const auto& e : audio.Events()) n += e.kind == Kind::Create ? 1 : 0;
    return n;
  }

  THeadlessAudio audio;
  TDXSound sound{&audio};
  TDXWaveList list;
  TWaveCollection& items = list.Items();
};

TEST_F(SoundArchive, LoadsEveryEntryAndRestoresAtOnce) {
  items.LoadFromMemory(WriteSoundArchive({
      {"boom", true, 3, kBeep},
      {"Boom", std::nullopt, -4, kClick},  // a negative limit is stored as 0
      {"silent", false, 1, {}},            // no recording at all
  }));
  ASSERT_EQ(items.Count(), 3);
  EXPECT_EQ(items.Items(0).Name(), "boom");
  EXPECT_TRUE(items.Items(0).Looped());
  EXPECT_EQ(items.Items(0).MaxPlayingCount(), 3);
  EXPECT_EQ(items.Items(0).Wave().Size(), kBeep.size() - 44);
  EXPECT_FALSE(items.Items(1).Looped());
  EXPECT_EQ(items.Items(1).MaxPlayingCount(), 0);
  EXPECT_EQ(items.Items(2).Wave().Size(), 0u);
  EXPECT_EQ(&items.FindSound("BOOM"), &items.Items(1));  // the later of equal names

  // Loaded into a running mixer: the two recordings have their voices now.
  EXPECT_EQ(Creates(), 2);
  items.FindSound("boom").PlayWave();
  items.FindSound("silent").PlayWave();
  EXPECT_EQ(audio.PlayingVoices(), 1);

  // A second load replaces the sounds, their voices with them.
  items.LoadFromMemory(WriteSoundArchive({{"other", std::nullopt, std::nullopt, kClick}}));
  ASSERT_EQ(items.Count(), 1);
  EXPECT_EQ(items.Find("boom"), nullptr);
  EXPECT_EQ(audio.LiveVoices(), 1);
  EXPECT_EQ(audio.PlayingVoices(), 0);
}

TEST_F(SoundArchive, FromAFileOrNotAtAll) {
  const std::string dir = ::testing::TempDir() + "bd_dxw_" + std::to_string(::getpid());
  std::filesystem::create_directories(dir);
  test::WriteFile(dir + "/Sound.dxw", WriteSoundArchive({{"beep", std::nullopt, std::nullopt, kBeep}}));
  items.LoadArchive(dir + "/Sound.dxw");
  ASSERT_EQ(items.Count(), 1);

  try {
    items.LoadArchive(dir + "/Missing.dxw");
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_NE(std::string(e.what()).find("Cannot open file \"" + dir + "/Missing.dxw\""), std::string::npos);
  }
  EXPECT_EQ(items.Count(), 1);  // unchanged
  std::filesystem::remove_all(dir);
}

TEST_F(SoundArchive, BrokenEntriesStopTheLoadWithTheItemsReadSoFar) {
  std::vector<uint8_t> notRiff = kBeep;
  notRiff[0] = 'X';
  struct Case {
    const char* message;
    std::function<void(TComponentWriter&)> write;
  };
  const Case cases[] = {
      {"Wave is invalid",
       [&](TComponentWriter& w) {
         w.WriteShortString("Wave.WAVE");
         w.WriteBinary(notRiff);
       }},
      {"Property Data does not exist",
       [&](TComponentWriter& w) {
         w.WriteShortString("Wave.Data");
         w.WriteBinary(kBeep);
       }},
      {"Property Volume does not exist",
       [&](TComponentWriter& w) {
         w.WriteShortString("Volume");
         w.WriteInteger(0);
       }},
      {"Invalid property path",
       [&](TComponentWriter& w) {
         w.WriteShortString("Looped.X");
         w.WriteBoolean(true);
       }},
      {"Invalid property value",
       [&](TComponentWriter& w) {
         w.WriteShortString("MaxPlayingCount");
         w.WriteString("2");
       }},
      {"Invalid property value",
       [&](TComponentWriter& w) {
         w.WriteShortString("Looped");
         w.WriteInteger(1);
       }},
  };
  for (const Case& c : cases) {
    items.LoadFromMemory(WriteSoundArchive({{"old", std::nullopt, std::nullopt, kBeep}}));
    audio.ClearEvents();
    try {
      items.LoadFromMemory(OneItemArchive(c.write));
      ADD_FAILURE() << c.message;
    } catch (const EError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    ASSERT_EQ(items.Count(), 2) << c.message;
    EXPECT_EQ(items.Items(1).Name(), "second");
    EXPECT_EQ(Creates(), 0) << c.message;  // nothing restored
  }
}

TEST(SoundArchiveSilent, LoadsWithoutAMixerAndNeverPlays) {
  THeadlessAudio audio(/*deviceAvailable=*/false);
  TDXSound sound(&audio);
  TDXWaveList list;
  list.SetDXSound(&sound);
  sound.Loaded();
  ASSERT_NO_THROW(list.Items().LoadFromMemory(WriteSoundArchive({{"beep", false, 2, kBeep}})));
  list.Items().FindSound("beep").PlayWave();
  EXPECT_EQ(audio.VoiceCount(), 0);
  EXPECT_TRUE(audio.Events().empty());
}

}  // namespace
}  // namespace bd
