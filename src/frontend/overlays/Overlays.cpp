#include "frontend/overlays/Overlays.h"

namespace bd {

TQuestion* TOverlays::Open() {
  for (TQuestion* question : stack_)
    if (question->IsOpen()) return question;
  return nullptr;
}

bool TOverlays::KeyDown(int key, uint8_t shift) {
  for (TQuestion* question : stack_)
    if (question->IsOpen() && question->KeyDown(key, shift)) return true;
  return false;
}

bool TOverlays::PadKeyDown(int key, uint8_t shift) {
  for (TQuestion* question : stack_)
    if (question->IsOpen() && question->PadKeyDown(key, shift)) return true;
  return false;
}

void TOverlays::PointerMove(int x, int y) {
  for (TQuestion* question : stack_)
    if (question->IsOpen()) question->PointerMove(x, y);
}

bool TOverlays::PointerDown(int button) {
  for (TQuestion* question : stack_)
    if (question->IsOpen() && question->PointerDown(button)) return true;
  return false;
}

}  // namespace bd
