#include "LargestAllocation.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> g_watching{false};
std::atomic<size_t> g_largest{0};

}  // namespace

void* operator new(size_t size) {
  if (g_watching.load(std::memory_order_relaxed)) {
    size_t seen = g_largest.load(std::memory_order_relaxed);
    while (size > seen && !g_largest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
    }
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace bd::testing {

TLargestAllocation::TLargestAllocation() {
  g_largest = 0;
  g_watching = true;
}

TLargestAllocation::~TLargestAllocation() { g_watching = false; }

size_t TLargestAllocation::Bytes() const { return g_largest.load(); }

}  // namespace bd::testing
