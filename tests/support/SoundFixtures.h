#pragma once
// Recordings and songs made by the tests themselves: RIFF WAVE files chunk by
// chunk, and a minimal XM module with a square-wave instrument.

#include <cstdint>
#include <string>
#include <vector>

namespace bd::test {

struct TRiffChunk {
  std::string id;  // four characters
  std::vector<uint8_t> body;
  // The size written in the header; -1 writes the body's real size.
  int64_t storedSize = -1;
};

// "RIFF", a size, "WAVE", then the chunks exactly as given (no pad bytes).
std::vector<uint8_t> RiffWave(const std::vector<TRiffChunk>& chunks);

// The body of a "fmt " chunk.
std::vector<uint8_t> FmtBody(uint16_t formatTag, uint16_t channels, uint32_t rate, uint16_t bits);

// A square wave of `frames` frames at full amplitude in the given PCM layout.
std::vector<uint8_t> SquareSamples(uint16_t channels, uint16_t bits, uint32_t frames);

// A complete wave file with a square wave.
std::vector<uint8_t> SquareWave(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t frames);

// An XM module of `orders` order positions, each a pattern of `rows` rows
// that holds one note at its first row, played at the fastest tempo, which
// goes on at order position `restart` after its last one.
std::vector<uint8_t> TinyXm(int orders, int rows, int restart = 0);

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFile(const std::string& path);

}  // namespace bd::test
