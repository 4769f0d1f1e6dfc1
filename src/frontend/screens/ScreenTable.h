#pragma once
// The one place that knows which object is behind which screen number.

#include <array>
#include <cstdint>
#include <memory>

#include "frontend/screens/Screen.h"

namespace bd {

class TScreenTable {
 public:
  explicit TScreenTable(IFrontEndHost& host);
  // The screen with number n. Numbers no screen has get one that leaves as
  // every screen does and answers nothing.
  TScreen& operator[](uint8_t n) const { return n < screens_.size() ? *screens_[n] : *other_; }

 private:
  std::array<std::unique_ptr<TScreen>, 11> screens_;
  std::unique_ptr<TScreen> other_;
};

}  // namespace bd
