#include "engine/sound/Wave.h"

#include <algorithm>
#include <cstring>

#include "engine/base/ByteReader.h"

namespace bd {

namespace {

// The sample buffer grows in whole blocks of this many bytes.
constexpr size_t kDataBlock = 8096;

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

constexpr uint32_t FourCc(const char (&s)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(s[0])) |
         (static_cast<uint32_t>(static_cast<uint8_t>(s[1])) << 8) |
         (static_cast<uint32_t>(static_cast<uint8_t>(s[2])) << 16) |
         (static_cast<uint32_t>(static_cast<uint8_t>(s[3])) << 24);
}

}  // namespace

void TWave::LoadFromBytes(const uint8_t* bytes, size_t size) {
  if (size < 12 || Le32(bytes) != FourCc("RIFF") || Le32(bytes + 8) != FourCc("WAVE"))
    throw EWaveStreamError("Wave is invalid");

  std::vector<uint8_t> format;
  std::vector<uint8_t> data;
  TByteReader reader({bytes, size});
  reader.Seek(12);
  for (;;) {
    // A header cut short by the end of the file keeps zeros where bytes are
    // missing; an identifier of zero ends the walk.
    uint8_t header[8] = {};
    const size_t got = std::min<size_t>(sizeof header, reader.Remaining());
    const auto part = reader.Bytes(got);
    std::copy(part.begin(), part.end(), header);
    const uint32_t id = Le32(header);
    if (id == 0) break;
    const uint32_t chunkSize = Le32(header + 4);
    // Sizes are taken as stored: no pad byte is skipped after an odd size.
    if (id == FourCc("fmt ") || id == FourCc("data")) {
      const auto body = reader.Bytes(chunkSize);  // "Stream read error" past the end
      // A later chunk of the same kind replaces the earlier one.
      (id == FourCc("fmt ") ? format : data).assign(body.begin(), body.end());
    } else {
      reader.Skip(std::min<uint64_t>(chunkSize, reader.Remaining()));
    }
  }
  format_ = std::move(format);
  SetData(data.data(), data.size());
}

void TWave::Clear() {
  format_.clear();
  data_.clear();
}

TWaveFormat TWave::Format() const {
  uint8_t record[16] = {};
  // An empty format has no data pointer to copy from.
  if (!format_.empty()) std::memcpy(record, format_.data(), std::min<size_t>(sizeof record, format_.size()));
  TWaveFormat f;
  f.FormatTag = Le16(record);
  f.Channels = Le16(record + 2);
  f.SamplesPerSec = Le32(record + 4);
  f.AvgBytesPerSec = Le32(record + 8);
  f.BlockAlign = Le16(record + 12);
  f.BitsPerSample = Le16(record + 14);
  return f;
}

void TWave::SetData(const uint8_t* samples, size_t size) {
  data_.clear();
  data_.reserve((size + kDataBlock - 1) / kDataBlock * kDataBlock);
  data_.assign(samples, samples + size);
}

}  // namespace bd
