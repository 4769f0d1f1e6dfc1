// The report's format from both ends: what the game builds, the server
// parses back, and the version reply's token is the one the game reads.

#include <gtest/gtest.h>

#include "codec/Cp1251.h"
#include "codec/ScoreReportFormat.h"

namespace bd {
namespace {

TEST(ReportFormat, ParsingGivesBackWhatWasBuilt) {
  struct TCase {
    std::string Name, Token, Country;
    int32_t Score;
  };
  const TCase cases[] = {
      {W("Вася"), "tok42", "RU", 1500},  {"a=b", "", "", 0},  // "=" inside a value
      {"Joe", "t", "DE", -20},           {"NinetyNine", std::string(80, 'f'), W("Україна"), 2147483647},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string report = BuildScoreReport(c.Name, c.Score, c.Token, c.Country);
    std::string reason;
    const auto fields = ParseScoreReport(report, &reason);
    ASSERT_TRUE(fields) << reason;
    EXPECT_EQ(fields->Type, "0");
    EXPECT_EQ(fields->PlayerName, c.Name);
    EXPECT_EQ(fields->Score, std::to_string(c.Score));
    EXPECT_EQ(fields->Key, std::string(1, ScoreReportKey));
    EXPECT_EQ(fields->Token, c.Token);
    EXPECT_EQ(fields->Country, c.Country);
  }
}

TEST(ReportFormat, TextNotInTheReportsFormIsRefused) {
  const char* cases[] = {
      "",
      "type=0|name=A|score=1|key=B|p=|add=|z=0",         // filling one short of a multiple of 5
      "type=0|name=A|score=1|key=B|p=|add=|z=000000",    // five more than needed
      "type=0|name=A|score=1|key=B|p=|add=|z=00x0",      // not zeros
      "name=A|type=0|score=1|key=B|p=|add=|z=00",        // out of order
      "type=0|name=A|score=1|key=B|p=|z=0000000",        // a field missing
      "type=0|name=A|score=1|key=B|p=|add=|z=|x=00000",  // one too many
      "type=0|name=A|score=1|key=B|p=|add|z=00000",      // a name without "="
      "type=0|nameX=A|score=1|key=B|p=|add=|z=00",       // a longer name
      "type=0|name=A|score=1|key=B|p=|add=|z=00\n",      // a trailing line end
  };
  for (const char* text : cases) {
    std::string reason;
    EXPECT_FALSE(ParseScoreReport(text, &reason)) << text;
    EXPECT_FALSE(reason.empty()) << text;
  }
}

TEST(ReportFormat, TheVersionReplyCarriesTheTokenWhereTheGameReadsIt) {
  for (const std::string& token : {std::string("abc"), std::string(), std::string(80, '9')}) {
    const std::string reply = BuildVersionReply(token);
    EXPECT_TRUE(VersionReplyIsOk(reply)) << reply;
    EXPECT_EQ(ReportToken(reply), token) << reply;
  }
  EXPECT_THROW(BuildVersionReply("a|b"), std::invalid_argument);
}

}  // namespace
}  // namespace bd
