#pragma once
// A limit of reports per client address and minute: each address has a
// bucket that holds up to the limit and refills evenly over a minute, so a
// burst of the whole limit is allowed and then one report every 60/N
// seconds. Refusals are counted for the log.

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

namespace bd::server {

class TRateLimiter {
 public:
  using TClock = std::chrono::steady_clock;

  // `perMinute` = 0 turns the limit off. At most `maxClients` addresses have
  // a bucket of their own; when that many are busy at once, any further
  // address shares one bucket with the others like it, so a flood of
  // addresses can neither grow the table nor slip past the limit.
  explicit TRateLimiter(int perMinute, size_t maxClients = 65536);

  // Takes one report from the address's bucket; false when it is empty.
  bool Allow(const std::string& client, TClock::time_point now = TClock::now());

  // The refusals since the previous call.
  uint64_t TakeRefused();

  // Drops the buckets that have filled up again (they behave as new ones),
  // so that the table does not grow with every address ever seen.
  void Prune(TClock::time_point now = TClock::now());

  size_t TrackedClients();

 private:
  struct TBucket {
    double Tokens;
    TClock::time_point Updated;
  };
  void Refill(TBucket& bucket, TClock::time_point now) const;
  bool TakeFrom(const std::string& client, TClock::time_point now);  // with mutex_ held
  void DropFullBuckets(TClock::time_point now);                      // with mutex_ held

  const double capacity_;
  const size_t maxClients_;
  std::mutex mutex_;
  std::unordered_map<std::string, TBucket> buckets_;
  size_t pruneAt_ = 4096;
  TClock::time_point fullTablePruned_{};
  uint64_t refused_ = 0;
};

}  // namespace bd::server
