#include <gtest/gtest.h>

#include "server/ClientAddress.h"
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

TEST(ClientAddress, AProxysHeaderCountsOnlyFromThisMachineAndOnlyWhenTrusted) {
  struct Case {
    const char* peer;
    const char* forwardedFor;
    bool behindProxy;
    const char* counted;
  };
  const Case cases[] = {
      {"127.0.0.1", "203.0.113.7", true, "203.0.113.7"},
      {"::1", "2001:db8::5", true, "2001:db8::5"},
      // The proxy appends the address it saw to what the player sent.
      {"127.0.0.1", "10.9.9.9, 203.0.113.7", true, "203.0.113.7"},
      {"127.0.0.1", "", true, "127.0.0.1"},
      // Not trusted: without the option, or from another machine.
      {"127.0.0.1", "203.0.113.7", false, "127.0.0.1"},
      {"198.51.100.2", "203.0.113.7", true, "198.51.100.2"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ClientAddress(c.peer, c.forwardedFor, c.behindProxy), c.counted) << c.peer << " / " << c.forwardedFor;
}

}  // namespace
}  // namespace bd::server
