#include "server/RateLimiter.h"

#include <algorithm>
#include <utility>

namespace bd::server {

TRateLimiter::TRateLimiter(int perMinute) : capacity_(perMinute > 0 ? perMinute : 0) {}

void TRateLimiter::Refill(TBucket& bucket, TClock::time_point now) const {
  const double minutes = std::chrono::duration<double, std::ratio<60>>(now - bucket.Updated).count();
  if (minutes > 0) bucket.Tokens = std::min(capacity_, bucket.Tokens + minutes * capacity_);
  bucket.Updated = std::max(bucket.Updated, now);
}

bool TRateLimiter::Allow(const std::string& client, TClock::time_point now) {
  if (capacity_ == 0) return true;
  std::lock_guard lock(mutex_);
  auto [it, fresh] = buckets_.try_emplace(client, TBucket{capacity_, now});
  TBucket& bucket = it->second;
  if (!fresh) Refill(bucket, now);
  if (bucket.Tokens >= 1) {
    bucket.Tokens -= 1;
    if (fresh && buckets_.size() >= pruneAt_) {
      // Many addresses at once: drop those that are full again, and look
      // again only when the table has doubled, so this stays cheap.
      DropFullBuckets(now);
      pruneAt_ = std::max<size_t>(4096, buckets_.size() * 2);
    }
    return true;
  }
  ++refused_;
  return false;
}

uint64_t TRateLimiter::TakeRefused() {
  std::lock_guard lock(mutex_);
  return std::exchange(refused_, 0);
}

void TRateLimiter::DropFullBuckets(TClock::time_point now) {
  for (auto b = buckets_.begin(); b != buckets_.end();) {
    Refill(b->second, now);
    b = b->second.Tokens >= capacity_ ? buckets_.erase(b) : std::next(b);
  }
}

void TRateLimiter::Prune(TClock::time_point now) {
  std::lock_guard lock(mutex_);
  DropFullBuckets(now);
}

size_t TRateLimiter::TrackedClients() {
  std::lock_guard lock(mutex_);
  return buckets_.size();
}

}  // namespace bd::server
