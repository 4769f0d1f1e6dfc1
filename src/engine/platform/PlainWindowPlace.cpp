#include "engine/platform/PlainWindowPlace.h"

namespace bd {

void TPlainWindowPlace::Observe(const TWindowPlace& place, bool plain, uint64_t nowMs) {
  Settle(nowMs);
  if (!plain) {
    // A place reported just before the window left its plain state belongs
    // to that change (a maximise's place ahead of its state), not to the
    // player's window.
    pending_.reset();
    return;
  }
  // The same place reported again keeps the time it was first seen at.
  if (pending_ == place) return;
  if (!pending_ && settled_ == place) return;
  pending_ = place;
  pendingSince_ = nowMs;
}

void TPlainWindowPlace::Take(const TWindowPlace& place) {
  settled_ = place;
  pending_.reset();
}

std::optional<TWindowPlace> TPlainWindowPlace::Last(uint64_t nowMs) {
  Settle(nowMs);
  return settled_;
}

void TPlainWindowPlace::Settle(uint64_t nowMs) {
  if (pending_ && nowMs - pendingSince_ >= kSettleMs) {
    settled_ = pending_;
    pending_.reset();
  }
}

}  // namespace bd
