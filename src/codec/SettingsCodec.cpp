#include "codec/SettingsCodec.h"

#include <array>
#include <cstdint>

namespace bd {
namespace {

// Position of each byte in the alphabet, or -1 for bytes that are not symbols.
constexpr std::array<int8_t, 256> MakeSymbolTable() {
  std::array<int8_t, 256> table{};
  for (auto& v : table) v = -1;
  for (size_t i = 0; i < SettingsAlphabet.size(); ++i)
    table[static_cast<unsigned char>(SettingsAlphabet[i])] = static_cast<int8_t>(i);
  return table;
}
constexpr std::array<int8_t, 256> kSymbolValue = MakeSymbolTable();

}  // namespace

std::string EncodeSettingsValue(std::string_view value) {
  const size_t bits = value.size() * 8;
  // Leading zero bits that make the length a multiple of 5.
  const size_t lead = (5 - bits % 5) % 5;
  std::string out;
  out.reserve((bits + lead) / 5);

  // Feed the bytes through a small bit accumulator, most significant bit
  // first; starting with `lead` zero bits already in it puts them in front.
  uint32_t acc = 0;
  size_t held = lead;
  for (unsigned char byte : value) {
    acc = (acc << 8) | byte;
    held += 8;
    while (held >= 5) {
      held -= 5;
      out.push_back(SettingsAlphabet[(acc >> held) & 31u]);
    }
    acc &= (1u << held) - 1u;
  }
  return out;
}

std::string DecodeSettingsValue(std::string_view line) {
  size_t symbols = 0;
  for (unsigned char c : line)
    if (kSymbolValue[c] >= 0) ++symbols;
  const size_t bits = symbols * 5;
  const size_t lead = (8 - bits % 8) % 8;

  std::string out;
  out.reserve((bits + lead) / 8);
  uint32_t acc = 0;
  size_t held = lead;
  for (unsigned char c : line) {
    const int v = kSymbolValue[c];
    if (v < 0) continue;
    acc = (acc << 5) | static_cast<uint32_t>(v);
    held += 5;
    if (held >= 8) {
      held -= 8;
      out.push_back(static_cast<char>((acc >> held) & 0xFFu));
    }
    acc &= (1u << held) - 1u;
  }
  return out;
}

std::string PadSettingsValue(std::string_view value) {
  std::string out(value);
  while (out.size() % 5 != 0) out.push_back('%');
  return out;
}

std::string_view StripSettingsPadding(std::string_view value) {
  while (!value.empty() && value.back() == '%') value.remove_suffix(1);
  return value;
}

}  // namespace bd
