#pragma once
// Bounds-checked little-endian reading from memory. Every archive, bitmap and
// wave file goes through this, so a short or hostile file ends in
// "Stream read error" instead of a read past its end.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "engine/base/Errors.h"

namespace bd {

// Errors of the component stream and of reading past the end of the data.
BD_DECLARE_ERROR(EReadError);

inline constexpr const char* kStreamReadError = "Stream read error";

class TByteReader {
 public:
  explicit TByteReader(std::span<const uint8_t> data) : data_(data) {}

  size_t Position() const { return pos_; }
  size_t Size() const { return data_.size(); }
  size_t Remaining() const { return data_.size() - pos_; }
  bool AtEnd() const { return pos_ >= data_.size(); }

  void Seek(size_t pos) {
    if (pos > data_.size()) Fail();
    pos_ = pos;
  }
  void Skip(uint64_t n) {
    if (n > Remaining()) Fail();
    pos_ += static_cast<size_t>(n);
  }
  // The next n bytes, without copying them.
  std::span<const uint8_t> Bytes(uint64_t n) {
    if (n > Remaining()) Fail();
    auto out = data_.subspan(pos_, static_cast<size_t>(n));
    pos_ += static_cast<size_t>(n);
    return out;
  }
  uint8_t Peek() const {
    if (AtEnd()) Fail();
    return data_[pos_];
  }

  uint8_t U8() { return Bytes(1)[0]; }
  uint16_t U16() {
    auto b = Bytes(2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
  }
  uint32_t U32() {
    auto b = Bytes(4);
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
  }
  int8_t I8() { return static_cast<int8_t>(U8()); }
  int16_t I16() { return static_cast<int16_t>(U16()); }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  std::string String(uint64_t n) {
    auto b = Bytes(n);
    return std::string(b.begin(), b.end());
  }

  [[noreturn]] static void Fail() { throw EReadError(kStreamReadError); }

 private:
  std::span<const uint8_t> data_;
  size_t pos_ = 0;
};

}  // namespace bd
