#include <gtest/gtest.h>

#include <set>

#include "server/Tokens.h"

namespace bd::server {
namespace {

constexpr int64_t kNow = 1'700'000'000'000;

TEST(Tokens, ValidUntilTheirExpiryAndNotAfter) {
  const TTokenSigner signer("secret", 60'000);
  const std::string token = signer.Issue(kNow);
  EXPECT_EQ(token.size(), TTokenSigner::kTokenLength);
  EXPECT_EQ(token.find_first_not_of("0123456789abcdef"), std::string::npos);
  const TTokenCheck fresh = signer.Check(token, kNow);
  EXPECT_EQ(fresh.Verdict, TTokenVerdict::Valid);
  EXPECT_EQ(fresh.ExpiresAtMs, kNow + 60'000);
  EXPECT_EQ(fresh.Id.size(), 32u);
  EXPECT_EQ(signer.Check(token, kNow + 59'999).Verdict, TTokenVerdict::Valid);
  EXPECT_EQ(signer.Check(token, kNow + 60'000).Verdict, TTokenVerdict::Expired);
  // Another server on the same database (the same secret) takes it.
  EXPECT_EQ(TTokenSigner("secret", 1).Check(token, kNow).Verdict, TTokenVerdict::Valid);
}

TEST(Tokens, AnythingButAnUntouchedTokenOfThisSecretIsUnknown) {
  const TTokenSigner signer("secret", 60'000);
  const std::string token = signer.Issue(kNow);
  std::vector<std::string> bad = {"", "abc", token.substr(1), token + "0", TTokenSigner("other", 60'000).Issue(kNow)};
  for (size_t i = 0; i < token.size(); i += 7) {
    std::string flipped = token;
    flipped[i] = flipped[i] == 'a' ? 'b' : 'a';
    bad.push_back(flipped);
  }
  std::string upper = token;
  for (char& c : upper) c = static_cast<char>(std::toupper(c));
  if (upper != token) bad.push_back(upper);
  // A later expiry written into a real token's bytes.
  std::string extended = token;
  extended[40] = extended[40] == 'f' ? 'e' : 'f';
  bad.push_back(extended);
  for (const std::string& b : bad) EXPECT_EQ(signer.Check(b, kNow).Verdict, TTokenVerdict::Unknown) << b;
}

TEST(Tokens, EveryTokenHasItsOwnId) {
  const TTokenSigner signer("secret", 60'000);
  std::set<std::string> ids;
  for (int i = 0; i < 1000; ++i) ids.insert(signer.Check(signer.Issue(kNow), kNow).Id);
  EXPECT_EQ(ids.size(), 1000u);
}

}  // namespace
}  // namespace bd::server
