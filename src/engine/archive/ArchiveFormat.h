#pragma once
// The building blocks shared by the archive reader and writer: the resource
// record in front of the component stream and the value type bytes. Kept in
// one place so the two sides cannot drift apart.

#include <cstdint>
#include <string_view>

namespace bd {

enum class TValueType : uint8_t {
  Null = 0,  // end of a list
  List = 1,  // start of a list (one collection item)
  Int8 = 2,
  Int16 = 3,
  Int32 = 4,
  Extended = 5,
  String = 6,  // 1 length byte
  Ident = 7,
  False = 8,
  True = 9,
  Binary = 10,  // 4-byte length
  Set = 11,
  LString = 12,  // 4-byte length
  Nil = 13,
  Collection = 14,
  Single = 15,
  Currency = 16,
  Date = 17,
  WString = 18,  // 4-byte count of UTF-16 units
  Int64 = 19,
  Utf8String = 20,  // 4-byte length
};

namespace archive {
constexpr uint8_t kResourceMarker = 0xFF;
constexpr uint16_t kResourceType = 10;
constexpr size_t kMaxResourceName = 75;
constexpr std::string_view kSignature = "TPF0";
constexpr uint8_t kPrefixMask = 0xF0;
constexpr uint8_t kPrefixChildPos = 0x02;  // an integer follows the prefix byte
}  // namespace archive

// Property names compare ignoring ASCII case.
inline bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace bd
