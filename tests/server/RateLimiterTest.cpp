#include <gtest/gtest.h>

#include "server/RateLimiter.h"

namespace bd::server {
namespace {

using namespace std::chrono_literals;

TEST(RateLimiter, ABurstOfTheLimitThenOneEveryShare) {
  TRateLimiter limiter(3);
  const auto t0 = TRateLimiter::TClock::time_point{} + 1h;
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(limiter.Allow("a", t0)) << i;
  EXPECT_FALSE(limiter.Allow("a", t0));
  EXPECT_FALSE(limiter.Allow("a", t0 + 19s));
  // Another address has its own allowance.
  EXPECT_TRUE(limiter.Allow("b", t0));
  // One more after a third of a minute, and no more.
  EXPECT_TRUE(limiter.Allow("a", t0 + 20s + 1ms));
  EXPECT_FALSE(limiter.Allow("a", t0 + 21s));
  // A long pause refills to the limit, not beyond it.
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(limiter.Allow("a", t0 + 1h)) << i;
  EXPECT_FALSE(limiter.Allow("a", t0 + 1h));
  EXPECT_EQ(limiter.TakeRefused(), 4u);
  EXPECT_EQ(limiter.TakeRefused(), 0u);
}

TEST(RateLimiter, NoLimitAtZero) {
  TRateLimiter limiter(0);
  for (int i = 0; i < 10000; ++i) ASSERT_TRUE(limiter.Allow("a"));
  EXPECT_EQ(limiter.TakeRefused(), 0u);
}

TEST(RateLimiter, AddressesThatFilledUpAreForgotten) {
  TRateLimiter limiter(2);
  const auto t0 = TRateLimiter::TClock::time_point{} + 1h;
  for (int i = 0; i < 10000; ++i) limiter.Allow("client" + std::to_string(i), t0 + std::chrono::milliseconds(i));
  limiter.Allow("busy", t0 + 70s);
  limiter.Allow("busy", t0 + 70s);
  limiter.Prune(t0 + 70s);
  EXPECT_EQ(limiter.TrackedClients(), 1u);
  // The busy one is still held to its limit.
  EXPECT_FALSE(limiter.Allow("busy", t0 + 70s));
}

}  // namespace
}  // namespace bd::server
