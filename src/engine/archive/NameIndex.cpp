#include "engine/archive/NameIndex.h"

namespace bd {

namespace {

// Windows-1251 upper-case letters outside A..Z and А..Я, with their lower case.
constexpr std::pair<uint8_t, uint8_t> kCyrillicExtras[] = {
    {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D},
    {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4},
    {0xA8, 0xB8}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
};

struct TLowerTable {
  std::array<uint8_t, 256> map{};
  constexpr TLowerTable() {
    for (int c = 0; c < 256; ++c) map[static_cast<size_t>(c)] = static_cast<uint8_t>(c);
    for (int c = 'A'; c <= 'Z'; ++c) map[static_cast<size_t>(c)] = static_cast<uint8_t>(c + 32);
    for (int c = 0xC0; c <= 0xDF; ++c) map[static_cast<size_t>(c)] = static_cast<uint8_t>(c + 32);
    for (auto [upper, lower] : kCyrillicExtras) map[upper] = lower;
  }
};

constexpr TLowerTable kLower;

uint8_t Lower(char c) { return kLower.map[static_cast<uint8_t>(c)]; }

}  // namespace

std::string AnsiLowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(Lower(c));
  return out;
}

bool AnsiSameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

uint8_t NameBucket(std::string_view name) {
  const size_t len = name.size();
  uint32_t h = static_cast<uint32_t>(len) * 16;
  if (len >= 2) h += Lower(name[0]) + Lower(name[len - 2]);
  return static_cast<uint8_t>(h & 0xFF);
}

}  // namespace bd
