// Judging a report in the server's own code, where the whole range of
// characters can be tried without a process in between.

#include <gtest/gtest.h>

#include "codec/Cp1251.h"
#include "codec/ScoreReportFormat.h"
#include "codec/SettingsCodec.h"
#include "server/ReportCheck.h"

namespace bd::server {
namespace {

constexpr int64_t kNow = 1'700'000'000'000;

const TTokenSigner& Signer() {
  static const TTokenSigner signer("test secret", 15 * 60 * 1000);
  return signer;
}

std::variant<TNewScore, TRefusal> Check(const std::string& nameCp1251, const std::string& countryCp1251 = "") {
  const std::string token = Signer().Issue(kNow);
  return CheckReport(EncodeSettingsValue(BuildScoreReport(nameCp1251, 10, token, countryCp1251)), Signer(), kNow);
}

TEST(ReportCheck, AcceptsEveryCharacterTheGameLetsAPlayerType) {
  // Digits, Latin letters, Ё, ё and А to я (Windows-1251 168, 184 and 192
  // to 255).
  std::string typed;
  for (int c = 0; c < 256; ++c)
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == 168 || c == 184 ||
        c >= 192)
      typed.push_back(static_cast<char>(c));
  for (size_t i = 0; i < typed.size(); i += 10) {
    const std::string name = typed.substr(i, 10);
    const auto result = Check(name, name);
    ASSERT_TRUE(std::holds_alternative<TNewScore>(result)) << Cp1251ToUtf8(name) << ": " << std::get<TRefusal>(result).Reason;
    EXPECT_EQ(std::get<TNewScore>(result).Name, Cp1251ToUtf8(name));
    EXPECT_EQ(std::get<TNewScore>(result).Country, Cp1251ToUtf8(name));
  }
}

TEST(ReportCheck, RefusesCharactersThatBreakTheTextOrHideIt) {
  for (const unsigned char c : {0x00, 0x01, 0x09, 0x0A, 0x0D, 0x1F, 0x7F, 0x98, 0xA0, 0xAD}) {
    const std::string name = std::string("ab") + static_cast<char>(c) + "cd";
    const auto result = Check(name);
    ASSERT_TRUE(std::holds_alternative<TRefusal>(result)) << int(c);
    EXPECT_EQ(std::get<TRefusal>(result).Status, 400);
    EXPECT_TRUE(std::holds_alternative<TRefusal>(Check("Name", name))) << int(c);
  }
  // "|" splits the report into one field too many.
  EXPECT_TRUE(std::holds_alternative<TRefusal>(Check("ab|cd")));
  // Printable punctuation a hand-edited settings file may hold is fine.
  for (const char* name : {"O'Neil", "a b", "<b>", "x=y", "100%", "\"q\""})
    EXPECT_TRUE(std::holds_alternative<TNewScore>(Check(name))) << name;
}

TEST(ReportCheck, TheTokenIsCheckedLast) {
  const auto report = [](const std::string& token) {
    return EncodeSettingsValue(BuildScoreReport("Name", 5, token, ""));
  };
  const std::string token = Signer().Issue(kNow);
  const auto accepted = CheckReport(report(token), Signer(), kNow);
  ASSERT_TRUE(std::holds_alternative<TNewScore>(accepted));
  EXPECT_EQ(std::get<TNewScore>(accepted).TokenId, Signer().Check(token, kNow).Id);
  EXPECT_EQ(std::get<TNewScore>(accepted).TokenExpiresAtMs, kNow + Signer().LifetimeMs());

  const auto expired = CheckReport(report(token), Signer(), kNow + Signer().LifetimeMs());
  ASSERT_TRUE(std::holds_alternative<TRefusal>(expired));
  EXPECT_EQ(std::get<TRefusal>(expired).Status, 403);
  // A bad field is reported as such even with a bad token.
  const auto both = CheckReport(EncodeSettingsValue(BuildScoreReport("", 5, "junk", "")), Signer(), kNow);
  EXPECT_EQ(std::get<TRefusal>(both).Status, 400);
}

}  // namespace
}  // namespace bd::server
