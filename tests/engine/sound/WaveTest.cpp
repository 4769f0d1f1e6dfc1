#include <gtest/gtest.h>

#include "engine/base/ByteReader.h"
#include "engine/sound/Wave.h"
#include "support/SoundFixtures.h"

namespace bd {
namespace {

using test::FmtBody;
using test::RiffWave;

const std::vector<uint8_t> kFmt = FmtBody(1, 2, 22050, 16);

TEST(Wave, ChunkWalk) {
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
    std::vector<uint8_t> format;
    std::vector<uint8_t> data;
  };
  const std::vector<uint8_t> odd = {'x', 'y', 'z'};
  std::vector<uint8_t> cutHeader = RiffWave({{"fmt ", kFmt}});
  cutHeader.insert(cutHeader.end(), {'d', 'a'});
  const Case cases[] = {
      {"plain", RiffWave({{"fmt ", kFmt}, {"data", {1, 2, 3, 4}}}), kFmt, {1, 2, 3, 4}},
      // An odd-sized chunk is followed directly by the next header: no pad byte.
      {"odd chunk before data",
       RiffWave({{"fmt ", kFmt}, {"LIST", odd}, {"data", {5, 6, 7, 8}}}),
       kFmt,
       {5, 6, 7, 8}},
      {"later data wins",
       RiffWave({{"data", {1, 1}}, {"fmt ", kFmt}, {"data", {2, 2, 2, 2}}}),
       kFmt,
       {2, 2, 2, 2}},
      {"later fmt wins",
       RiffWave({{"fmt ", FmtBody(1, 1, 8000, 8)}, {"fmt ", kFmt}, {"data", {9}}}),
       kFmt,
       {9}},
      {"missing fmt", RiffWave({{"data", {3, 3}}}), {}, {3, 3}},
      {"missing data", RiffWave({{"fmt ", kFmt}}), kFmt, {}},
      // "da" and zeros: an unknown empty chunk, then the end.
      {"header cut short", cutHeader, kFmt, {}},
      // An unknown chunk claiming more than is left just ends the walk.
      {"oversized unknown chunk", RiffWave({{"fmt ", kFmt}, {"data", {4}}, {"junk", {1}, 1000}}), kFmt, {4}},
  };
  for (const Case& c : cases) {
    TWave wave;
    wave.SetData(std::vector<uint8_t>{7, 7, 7}.data(), 3);  // replaced by the load
    ASSERT_NO_THROW(wave.LoadFromBytes(c.file)) << c.what;
    EXPECT_EQ(wave.FormatRecord(), c.format) << c.what;
    EXPECT_EQ(std::vector<uint8_t>(wave.Data(), wave.Data() + wave.Size()), c.data) << c.what;
  }
}

TEST(Wave, FormatFieldsFromRecord) {
  TWave wave;
  wave.LoadFromBytes(RiffWave({{"fmt ", kFmt}, {"data", {0, 0, 0, 0}}}));
  const TWaveFormat f = wave.Format();
  EXPECT_EQ(f.FormatTag, 1);
  EXPECT_EQ(f.Channels, 2);
  EXPECT_EQ(f.SamplesPerSec, 22050u);
  EXPECT_EQ(f.AvgBytesPerSec, 88200u);
  EXPECT_EQ(f.BlockAlign, 4);
  EXPECT_EQ(f.BitsPerSample, 16);

  // A record too short for its fields leaves them 0.
  wave.LoadFromBytes(RiffWave({{"fmt ", {1, 0, 2}}}));
  EXPECT_EQ(wave.Format().FormatTag, 1);
  EXPECT_EQ(wave.Format().Channels, 2);
  EXPECT_EQ(wave.Format().SamplesPerSec, 0u);
}

TEST(Wave, RejectsWhatIsNotAWave) {
  std::vector<uint8_t> riffx = RiffWave({{"fmt ", kFmt}});
  riffx[3] = 'X';
  std::vector<uint8_t> avi = RiffWave({{"fmt ", kFmt}});
  avi[8] = 'A';
  const std::vector<uint8_t> invalid[] = {riffx, avi, {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V'}, {}};
  for (const auto& file : invalid) {
    TWave wave;
    try {
      wave.LoadFromBytes(file);
      ADD_FAILURE() << "accepted a file of " << file.size() << " bytes";
    } catch (const EWaveStreamError& e) {
      EXPECT_STREQ(e.what(), "Wave is invalid");
    }
  }

  // A format or data chunk running past the end of the file; the wave keeps
  // what it held before.
  for (const char* id : {"fmt ", "data"}) {
    TWave wave;
    wave.LoadFromBytes(RiffWave({{"fmt ", kFmt}, {"data", {1, 2}}}));
    EXPECT_THROW(wave.LoadFromBytes(RiffWave({{id, {1, 2, 3}, 4}})), EReadError) << id;
    EXPECT_EQ(wave.Size(), 2u);
    EXPECT_EQ(wave.FormatRecord(), kFmt);
  }
}

}  // namespace
}  // namespace bd
