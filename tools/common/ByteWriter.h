#pragma once
// Little-endian numbers appended to a byte buffer: the counterpart of
// TByteReader for everything that writes bitmaps, archives, wave files and
// songs.

#include <cstdint>
#include <vector>

namespace bd {

inline void PutLe16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
  PutLe16(out, v & 0xFFFF);
  PutLe16(out, v >> 16);
}

}  // namespace bd
