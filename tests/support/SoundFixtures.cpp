#include "support/SoundFixtures.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "common/ByteWriter.h"

namespace bd::test {

namespace {

void PutText(std::vector<uint8_t>& out, const std::string& text, size_t width) {
  for (size_t i = 0; i < width; ++i) out.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
}

}  // namespace

std::vector<uint8_t> RiffWave(const std::vector<TRiffChunk>& chunks) {
  std::vector<uint8_t> out;
  PutText(out, "RIFF", 4);
  PutLe32(out, 0);  // patched below
  PutText(out, "WAVE", 4);
  for (const TRiffChunk& c : chunks) {
    PutText(out, c.id, 4);
    PutLe32(out,
            c.storedSize < 0 ? static_cast<uint32_t>(c.body.size()) : static_cast<uint32_t>(c.storedSize));
    out.insert(out.end(), c.body.begin(), c.body.end());
  }
  const auto riffSize = static_cast<uint32_t>(out.size() - 8);
  for (int i = 0; i < 4; ++i) out[4 + static_cast<size_t>(i)] = static_cast<uint8_t>(riffSize >> (8 * i));
  return out;
}

std::vector<uint8_t> FmtBody(uint16_t formatTag, uint16_t channels, uint32_t rate, uint16_t bits) {
  std::vector<uint8_t> out;
  const uint32_t block = channels * (bits / 8u);
  PutLe16(out, formatTag);
  PutLe16(out, channels);
  PutLe32(out, rate);
  PutLe32(out, rate * block);
  PutLe16(out, block);
  PutLe16(out, bits);
  return out;
}

std::vector<uint8_t> SquareSamples(uint16_t channels, uint16_t bits, uint32_t frames) {
  std::vector<uint8_t> out;
  for (uint32_t f = 0; f < frames; ++f) {
    const bool high = (f / 25) % 2 == 0;
    for (uint16_t c = 0; c < channels; ++c) {
      if (bits == 8) {
        out.push_back(high ? 0xF0 : 0x10);  // unsigned around 0x80
      } else {
        // Signed, the top 16 bits carrying the wave, little-endian.
        const auto v = static_cast<uint32_t>((high ? 0x6000 : -0x6000) * (1 << (bits - 16)));
        for (int b = 0; b < bits / 8; ++b) out.push_back(static_cast<uint8_t>(v >> (8 * b)));
      }
    }
  }
  return out;
}

std::vector<uint8_t> SquareWave(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t frames) {
  return RiffWave(
      {{"fmt ", FmtBody(1, channels, rate, bits)}, {"data", SquareSamples(channels, bits, frames)}});
}

std::vector<uint8_t> TinyXm(int orders, int rows, int restart) {
  std::vector<uint8_t> out;
  PutText(out, "Extended Module: ", 17);
  PutText(out, "tiny", 20);
  out.push_back(0x1A);
  PutText(out, "tests", 20);
  PutLe16(out, 0x0104);
  PutLe32(out, 276);  // header size, counted from this field
  PutLe16(out, static_cast<uint32_t>(orders));
  PutLe16(out, static_cast<uint32_t>(restart));
  PutLe16(out, 1);                              // channels
  PutLe16(out, static_cast<uint32_t>(orders));  // one pattern per order position
  PutLe16(out, 1);                              // instruments
  PutLe16(out, 1);                              // linear frequency table
  PutLe16(out, 1);                              // ticks per row
  PutLe16(out, 255);                            // beats per minute
  for (int i = 0; i < 256; ++i) out.push_back(i < orders ? static_cast<uint8_t>(i) : 0);

  for (int p = 0; p < orders; ++p) {
    std::vector<uint8_t> packed = {0x83, 49, 1};            // note C-4 with instrument 1
    for (int r = 1; r < rows; ++r) packed.push_back(0x80);  // empty row
    PutLe32(out, 9);
    out.push_back(0);  // packing type
    PutLe16(out, static_cast<uint32_t>(rows));
    PutLe16(out, static_cast<uint32_t>(packed.size()));
    out.insert(out.end(), packed.begin(), packed.end());
  }

  // One instrument with one looping 8-bit square-wave sample.
  const size_t instrumentStart = out.size();
  PutLe32(out, 263);
  PutText(out, "square", 22);
  out.push_back(0);
  PutLe16(out, 1);                       // samples
  PutLe32(out, 40);                      // sample header size
  out.resize(out.size() + 96, 0);        // every note uses sample 0
  out.resize(out.size() + 96, 0);        // volume and panning envelopes
  out.resize(instrumentStart + 263, 0);  // envelope counts, vibrato, fadeout, reserved

  constexpr uint32_t kLength = 32;
  PutLe32(out, kLength);
  PutLe32(out, 0);        // loop start
  PutLe32(out, kLength);  // loop length
  out.push_back(64);      // volume
  out.push_back(0);       // finetune
  out.push_back(1);       // forward loop, 8-bit
  out.push_back(128);     // panning
  out.push_back(0);       // relative note
  out.push_back(0);
  PutText(out, "square", 22);
  // Sample data is stored as differences between neighbouring samples.
  int8_t previous = 0;
  for (uint32_t i = 0; i < kLength; ++i) {
    const int8_t value = i < kLength / 2 ? 100 : -100;
    out.push_back(static_cast<uint8_t>(static_cast<int8_t>(value - previous)));
    previous = value;
  }
  return out;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (!f) throw std::runtime_error("cannot write " + path);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

}  // namespace bd::test
