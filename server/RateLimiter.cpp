#include "server/RateLimiter.h"

#include <algorithm>
#include <utility>

namespace bd::server {

namespace {
// The shared bucket's key: no address reads like this.
constexpr const char* kOverflowKey = "*";
}  // namespace

TRateLimiter::TRateLimiter(int perMinute, size_t maxClients)
    : capacity_(perMinute > 0 ? perMinute : 0), maxClients_(std::max<size_t>(2, maxClients)) {}

void TRateLimiter::Refill(TBucket& bucket, TClock::time_point now) const {
  const double minutes = std::chrono::duration<double, std::ratio<60>>(now - bucket.Updated).count();
  if (minutes > 0) bucket.Tokens = std::min(capacity_, bucket.Tokens + minutes * capacity_);
  bucket.Updated = std::max(bucket.Updated, now);
}

bool TRateLimiter::Allow(const std::string& client, TClock::time_point now) {
  if (capacity_ == 0) return true;
  std::lock_guard lock(mutex_);
  if (buckets_.size() >= maxClients_ - 1 && !buckets_.contains(client)) {
    // Looking through a full table costs: at most once a second.
    if (now - fullTablePruned_ >= std::chrono::seconds(1)) {
      DropFullBuckets(now);
      fullTablePruned_ = now;
    }
    if (buckets_.size() >= maxClients_ - 1) return TakeFrom(kOverflowKey, now);
  }
  return TakeFrom(client, now);
}

bool TRateLimiter::TakeFrom(const std::string& client, TClock::time_point now) {
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
  // Give back the room of a table that a burst of addresses had grown.
  if (buckets_.bucket_count() > 4 * std::max<size_t>(64, buckets_.size())) buckets_.rehash(0);
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
