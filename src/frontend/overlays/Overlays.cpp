#include "frontend/overlays/Overlays.h"

namespace bd {

TQuestion* TOverlays::Stack(size_t i) {
  TQuestion* const order[kCount] = {&exit_, &clear_};
  return order[i];
}

TQuestion* TOverlays::Open() {
  for (size_t i = 0; i < kCount; ++i)
    if (Stack(i)->IsOpen()) return Stack(i);
  return nullptr;
}

bool TOverlays::KeyDown(int key, uint8_t shift) {
  for (size_t i = 0; i < kCount; ++i)
    if (Stack(i)->IsOpen() && Stack(i)->KeyDown(key, shift)) return true;
  return false;
}

bool TOverlays::PadKeyDown(int key, uint8_t shift) {
  for (size_t i = 0; i < kCount; ++i)
    if (Stack(i)->IsOpen() && Stack(i)->PadKeyDown(key, shift)) return true;
  return false;
}

void TOverlays::PointerMove(int x, int y) {
  for (size_t i = 0; i < kCount; ++i)
    if (Stack(i)->IsOpen()) Stack(i)->PointerMove(x, y);
}

bool TOverlays::PointerDown(int button) {
  for (size_t i = 0; i < kCount; ++i)
    if (Stack(i)->IsOpen() && Stack(i)->PointerDown(button)) return true;
  return false;
}

}  // namespace bd
