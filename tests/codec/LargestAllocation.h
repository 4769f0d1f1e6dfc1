#pragma once
// The largest single allocation through operator new while a watch is on,
// for the tests that a reader's memory stays within its bound whatever a
// file claims. This test program replaces the global operator new.

#include <cstddef>

namespace bd::testing {

class TLargestAllocation {
 public:
  TLargestAllocation();  // starts watching from zero
  ~TLargestAllocation();
  TLargestAllocation(const TLargestAllocation&) = delete;
  TLargestAllocation& operator=(const TLargestAllocation&) = delete;

  size_t Bytes() const;
};

}  // namespace bd::testing
