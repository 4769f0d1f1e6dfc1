#pragma once
// Reading the whole of a file that must be a regular one. The file is opened
// without blocking, so that a pipe or a device standing in its place is
// refused like a folder instead of stalling the game while it waits for a
// writer.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace bd {

struct TFileRead {
  std::vector<uint8_t> bytes;
  // Why the file was not read whole, or 0: the errno of a failed open or
  // read, EISDIR for a folder, EINVAL for any other file that is not a
  // regular one, EFBIG once more than the allowed bytes were read.
  int error = 0;
  std::string reason;  // the same in words; empty when the file was read
};

TFileRead ReadRegularFile(const std::string& path, size_t maxBytes = std::numeric_limits<size_t>::max());

}  // namespace bd
