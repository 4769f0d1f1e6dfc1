#include <gtest/gtest.h>

#include <string>

#include "codec/SettingsCodec.h"
#include "codec/Cp1251.h"

namespace bd {
namespace {

using namespace std::string_literals;

TEST(SettingsCodec, AlphabetHas32DistinctSymbols) {
  ASSERT_EQ(SettingsAlphabet.size(), 32u);
  for (size_t i = 0; i < SettingsAlphabet.size(); ++i)
    EXPECT_EQ(SettingsAlphabet.find(SettingsAlphabet[i]), i) << SettingsAlphabet[i];
}

// Values whose bit count is not a multiple of 5 gain zero bits in front when
// written and come back with a zero byte in front.
TEST(SettingsCodec, EncodesAndDecodesKnownValues) {
  struct Case {
    std::string value, encoded, readBack;
  };
  const Case cases[] = {
      {"abc", "UE2CR", "\0abc"s},  // 6, 2, 24, 19, 3
      {"true", "W4PT7FY", "\0true"s}, {"false", "G3LN265Y", "false"}, {"", "", ""},
      {"\xFF", "P9", "\0\xFF"s},       // 00 11111111: 7, 31
      {"1200%", "UT3RQGWY", "1200%"},  // a padded score comes back exactly
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeSettingsValue(c.value), c.encoded) << c.value;
    EXPECT_EQ(DecodeSettingsValue(c.encoded), c.readBack) << c.encoded;
  }
}

TEST(SettingsCodec, CharactersOutsideTheAlphabetAreIgnored) {
  // Lower case, blanks, CR, punctuation and UTF-8 Cyrillic bytes are all foreign.
  EXPECT_EQ(DecodeSettingsValue("G3 LN-2\t65Y\r"), "false");
  EXPECT_EQ(DecodeSettingsValue("gln y"
                                "\xD0\x96"
                                "G3LN265Y"),
            "false");
  EXPECT_EQ(DecodeSettingsValue("qwerty10!"), "");
}

TEST(SettingsCodec, PaddedTextRoundTripsExactly) {
  const std::string names[] = {"Vasya", "Vasily", W("Гонщик"), W("ёЁ"), "A", "1234567890"};
  for (const auto& name : names) {
    const std::string padded = PadSettingsValue(name);
    EXPECT_EQ(padded.size() % 5, 0u);
    EXPECT_EQ(padded.substr(0, name.size()), name);
    const std::string encoded = EncodeSettingsValue(padded);
    EXPECT_EQ(encoded.size(), padded.size() / 5 * 8) << name;
    EXPECT_EQ(StripSettingsPadding(DecodeSettingsValue(encoded)), name);
  }
  // Five characters need no filling; six are filled to ten.
  EXPECT_EQ(PadSettingsValue("Vasya"), "Vasya");
  EXPECT_EQ(PadSettingsValue("Vasily"), "Vasily%%%%");
  EXPECT_EQ(PadSettingsValue(""), "");
  EXPECT_EQ(StripSettingsPadding("%%%"), "");
  EXPECT_EQ(StripSettingsPadding("a%b%%"), "a%b");
}

}  // namespace
}  // namespace bd
