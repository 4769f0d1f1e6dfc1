#pragma once
// A recording as read from a RIFF WAVE file: its format record and samples,
// both kept as the file stores them.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/base/Errors.h"
#include "engine/platform/Audio.h"

namespace bd {

BD_DECLARE_ERROR(EWaveStreamError);

class TWave {
 public:
  // Reads a complete wave file. Throws EWaveStreamError "Wave is invalid" when
  // it does not start as RIFF/WAVE, and EReadError "Stream read error" when a
  // format or data chunk runs past the end of the file.
  void LoadFromBytes(const uint8_t* bytes, size_t size);
  void LoadFromBytes(const std::vector<uint8_t>& bytes) { LoadFromBytes(bytes.data(), bytes.size()); }
  void Clear();

  // The "fmt " chunk exactly as stored (empty when the file had none).
  const std::vector<uint8_t>& FormatRecord() const { return format_; }
  // The record's standard fields; fields the record is too short for are 0.
  TWaveFormat Format() const;
  const uint8_t* Data() const { return data_.data(); }
  size_t Size() const { return data_.size(); }

  void SetData(const uint8_t* samples, size_t size);

 private:
  std::vector<uint8_t> format_;
  std::vector<uint8_t> data_;
};

}  // namespace bd
