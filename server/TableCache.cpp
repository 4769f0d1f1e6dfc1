#include "server/TableCache.h"

namespace bd::server {

std::shared_ptr<const std::string> TTableCache::Get(const std::function<std::string()>& render) {
  const auto fresh = [this] {
    return page_ && pageGeneration_ == generation_ && std::chrono::steady_clock::now() - renderedAt_ < maxAge_;
  };
  {
    std::lock_guard lock(mutex_);
    if (fresh()) return page_;
  }
  std::lock_guard renderLock(renderMutex_);
  uint64_t generation = 0;
  {
    std::lock_guard lock(mutex_);
    if (fresh()) return page_;  // rendered while this one waited
    generation = generation_;
  }
  // Scores stored while this renders bump the generation, so the page made
  // here is not taken for theirs.
  const auto started = std::chrono::steady_clock::now();
  auto page = std::make_shared<const std::string>(render());
  std::lock_guard lock(mutex_);
  page_ = page;
  pageGeneration_ = generation;
  renderedAt_ = started;
  return page;
}

void TTableCache::Invalidate() {
  std::lock_guard lock(mutex_);
  ++generation_;
}

}  // namespace bd::server
