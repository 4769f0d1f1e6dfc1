#pragma once
// The rendered table page, kept until new scores are stored here or it has
// aged (another server sharing the database may have stored some), so most
// views cost no database read.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace bd::server {

class TTableCache {
 public:
  explicit TTableCache(std::chrono::milliseconds maxAge = std::chrono::seconds(5)) : maxAge_(maxAge) {}

  // The cached page, or a fresh one from `render` when the cache is stale.
  // One render runs at a time; the others wait for it rather than all going
  // to the database. An exception from `render` leaves the cache stale.
  std::shared_ptr<const std::string> Get(const std::function<std::string()>& render);

  // New scores were stored: the next Get renders again.
  void Invalidate();

 private:
  std::chrono::milliseconds maxAge_;
  std::mutex mutex_;
  uint64_t generation_ = 1;     // bumped by Invalidate
  uint64_t pageGeneration_ = 0;  // what `page_` was rendered at
  std::chrono::steady_clock::time_point renderedAt_;
  std::shared_ptr<const std::string> page_;
  std::mutex renderMutex_;
};

}  // namespace bd::server
