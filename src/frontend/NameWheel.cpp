#include "frontend/NameWheel.h"

#include <string_view>

#include "engine/platform/Platform.h"

namespace bd {
namespace {

// The letters the wheel turns through, in Windows-1251: А..Я in the
// alphabet's order, with Ё after Е although the code page keeps it apart,
// then A..Z, then the digits, and round again.
std::string Wheel() {
  constexpr int kCapitalIe = 197, kCapitalIo = 168;
  std::string letters;
  for (int c = 192; c <= 223; ++c) {
    letters += static_cast<char>(c);
    if (c == kCapitalIe) letters += static_cast<char>(kCapitalIo);
  }
  for (char c = 'A'; c <= 'Z'; ++c) letters += c;
  for (char c = '0'; c <= '9'; ++c) letters += c;
  return letters;
}

}  // namespace

bool TurnNameWheel(std::string& name, int key) {
  static const std::string wheel = Wheel();
  const int count = static_cast<int>(wheel.size());
  switch (key) {
    case vk::Up:
    case vk::Down: {
      const int step = key == vk::Up ? 1 : -1;
      if (name.empty()) {
        name += wheel[step > 0 ? 0 : static_cast<size_t>(count - 1)];
        return true;
      }
      // A typed letter the wheel does not hold (a small one, say) turns
      // from the wheel's start.
      const size_t at = wheel.find(name.back());
      const int from = at == std::string::npos ? (step > 0 ? -1 : 0) : static_cast<int>(at);
      name.back() = wheel[static_cast<size_t>(((from + step) % count + count) % count)];
      return true;
    }
    case vk::Right:
      if (name.size() < kNameWheelLength) name += wheel[0];
      return true;
    case vk::Left:
      if (!name.empty()) name.pop_back();
      return true;
    default:
      return false;
  }
}

}  // namespace bd
