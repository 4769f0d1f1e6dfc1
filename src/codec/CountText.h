#pragma once
// "1 byte", "3 bytes": counts in the codecs' refusal texts.

#include <cstddef>
#include <string>
#include <string_view>

namespace bd {

inline std::string CountText(size_t count, std::string_view singular) {
  std::string text = std::to_string(count) + " ";
  text += singular;
  if (count != 1) text += 's';
  return text;
}

}  // namespace bd
