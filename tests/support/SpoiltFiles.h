#pragma once
// Ways a file of the game can be found broken on disk, for tests that start
// the game on such a file. Each one takes a file that is there and good.

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/SoundFixtures.h"

namespace bd::test {

struct TSpoil {
  const char* What;
  std::function<void(const std::filesystem::path&)> Apply;
};

// Bytes that are the same on every run and look like nothing in particular.
inline std::vector<uint8_t> Garbage(size_t size) {
  std::vector<uint8_t> bytes(size);
  uint32_t x = 2463534242u;
  for (uint8_t& b : bytes) {
    x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    b = static_cast<uint8_t>(x >> 24);
  }
  return bytes;
}

// The spoils every kind of file can meet: gone, empty, cut in half, its
// bytes replaced by garbage of the same length, a folder or a named pipe in
// its place.
inline std::vector<TSpoil> CommonSpoils() {
  namespace fs = std::filesystem;
  return {
      {"missing", [](const fs::path& p) { fs::remove(p); }},
      {"empty", [](const fs::path& p) { fs::resize_file(p, 0); }},
      {"cut in half", [](const fs::path& p) { fs::resize_file(p, fs::file_size(p) / 2); }},
      {"garbage", [](const fs::path& p) { WriteFile(p.string(), Garbage(fs::file_size(p))); }},
      {"a folder in its place",
       [](const fs::path& p) {
         fs::remove(p);
         fs::create_directory(p);
       }},
      {"a named pipe in its place",
       [](const fs::path& p) {
         fs::remove(p);
         ::mkfifo(p.c_str(), 0644);
       }},
  };
}

// Sets the 32-bit little-endian size that follows the first `marker` in the
// file (a property name, a chunk name) to `size`.
inline void SetSizeAfter(const std::filesystem::path& path, const std::string& marker, size_t offset,
                         uint32_t size) {
  std::vector<uint8_t> bytes = ReadFile(path.string());
  const std::string text(bytes.begin(), bytes.end());
  const size_t at = text.find(marker);
  if (at == std::string::npos || at + marker.size() + offset + 4 > bytes.size())
    throw std::runtime_error("no " + marker + " in " + path.string());
  for (int i = 0; i < 4; ++i)
    bytes[at + marker.size() + offset + static_cast<size_t>(i)] = static_cast<uint8_t>(size >> (8 * i));
  WriteFile(path.string(), bytes);
}

}  // namespace bd::test
