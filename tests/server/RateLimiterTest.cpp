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
  for (int i = 0; i < 10000; ++i)
    limiter.Allow("client" + std::to_string(i), t0 + std::chrono::milliseconds(i));
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
      // Read as an address, or not at all: anything else leaves the peer's.
      {"127.0.0.1", "2001:DB8:0:0::5", true, "2001:db8::5"},
      {"127.0.0.1", "::ffff:203.0.113.7", true, "203.0.113.7"},
      {"127.0.0.1", "203.0.113.7:5555", true, "127.0.0.1"},
      {"127.0.0.1", "unknown", true, "127.0.0.1"},
      {"127.0.0.1", "203.0.113.07", true, "127.0.0.1"},
      {"127.0.0.1", "203.0.113.7 x", true, "127.0.0.1"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ClientAddress(c.peer, c.forwardedFor, c.behindProxy), c.counted)
        << c.peer << " / " << c.forwardedFor;
  // A header of any size costs no more than an address.
  EXPECT_EQ(ClientAddress("127.0.0.1", std::string(8192, '7'), true), "127.0.0.1");
}

TEST(ClientAddress, LimitsCountAnIpv6ClientByItsNetwork) {
  EXPECT_EQ(LimitKey("203.0.113.7"), "203.0.113.7");
  EXPECT_EQ(LimitKey("2001:db8:1:2:aaaa::1"), "2001:db8:1:2::/64");
  EXPECT_EQ(LimitKey("2001:db8:1:2:bbbb:cccc:dddd:eeee"), "2001:db8:1:2::/64");
  EXPECT_NE(LimitKey("2001:db8:1:3::1"), LimitKey("2001:db8:1:2::1"));
}

TEST(RateLimiter, AFloodOfAddressesSharesOneBucketOnceTheTableIsFull) {
  TRateLimiter limiter(2, 100);
  const auto t0 = TRateLimiter::TClock::time_point{} + 1h;
  // Each address spends one of its two reports: none is full again, so
  // none can be forgotten.
  for (int i = 0; i < 1000; ++i) limiter.Allow("flood" + std::to_string(i), t0);
  EXPECT_LE(limiter.TrackedClients(), 100u);
  // The addresses past the table's room shared one allowance of two.
  EXPECT_EQ(limiter.TakeRefused(), 1000u - 99u - 2u);
  // An address with a bucket of its own keeps it.
  EXPECT_TRUE(limiter.Allow("flood0", t0));
  EXPECT_FALSE(limiter.Allow("flood0", t0));
  // Once the flood's buckets have filled up again, a new address gets its own.
  EXPECT_TRUE(limiter.Allow("late", t0 + 2min));
  EXPECT_TRUE(limiter.Allow("late", t0 + 2min));
  EXPECT_FALSE(limiter.Allow("late", t0 + 2min));
}

}  // namespace
}  // namespace bd::server
