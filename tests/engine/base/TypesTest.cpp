#include <gtest/gtest.h>

#include "codec/Cp1251.h"
#include "engine/base/Types.h"

namespace bd {
namespace {

TEST(Types, RoundHalvesToEven) {
  const std::pair<double, int64_t> cases[] = {
      {2.5, 2}, {3.5, 4}, {-2.5, -2}, {23437.5, 23438}, {0.49, 0}, {32.87, 33}, {-0.5, 0}};
  for (auto [v, expected] : cases) EXPECT_EQ(Round(v), expected) << v;
}

TEST(Types, PositiveModAndOverlap) {
  EXPECT_EQ(PositiveMod(-1, 64), 63);
  EXPECT_EQ(PositiveMod(-64, 64), 0);
  EXPECT_EQ(PositiveMod(130, 64), 2);
  EXPECT_TRUE(RectsOverlap(Bounds(0, 0, 10, 10), Bounds(9, 9, 5, 5)));
  EXPECT_FALSE(RectsOverlap(Bounds(0, 0, 10, 10), Bounds(10, 0, 5, 5)));  // touching edges
}

TEST(Types, RandomSequenceFollowsTheGenerator) {
  TRandom r(0);
  EXPECT_EQ(r.Next(100), 0);  // seed 1: (100 * 1) >> 32 == 0
  EXPECT_EQ(r.Seed(), 1u);
  EXPECT_EQ(r.Next(0), 0);
  EXPECT_EQ(r.Seed(), 134775814u);
  r.SetSeed(0xFFFFFFFFu);
  // seed becomes 0xFFFFFFFF * 134775813 + 1 mod 2^32 = 0xF7F7F7F4 (= -134775812)
  const int32_t v = r.Next(1000);
  EXPECT_EQ(r.Seed(), static_cast<uint32_t>(0u - 134775812u));
  EXPECT_EQ(v, static_cast<int32_t>((1000ull * r.Seed()) >> 32));
  EXPECT_GE(v, 0);
  EXPECT_LT(v, 1000);
}

TEST(Types, Cp1251RoundTrip) {
  const std::string pause = W("Пауза");
  ASSERT_EQ(pause.size(), 5u);
  EXPECT_EQ(static_cast<unsigned char>(pause[0]), 0xCF);
  EXPECT_EQ(Cp1251ToUtf8(pause), "Пауза");
  EXPECT_EQ(Utf8ToCp1251("a€b"), "a\x88" "b");
  EXPECT_EQ(Utf8ToCp1251("日"), "?");
}

}  // namespace
}  // namespace bd
