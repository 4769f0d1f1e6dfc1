#pragma once
// Writes tracker modules in the XM format: patterns of note cells, and
// instruments each holding one 16-bit sample with a volume envelope.

#include <cstdint>
#include <string>
#include <vector>

namespace bd::xm {

struct Cell {
  uint8_t note = 0;  // 1 .. 96 (1 is C-0), 97 key off, 0 none
  uint8_t instrument = 0;
  uint8_t volume = 0;  // 0 none, else 0x10 + 0 .. 64
  uint8_t effect = 0;
  uint8_t param = 0;
};

struct Pattern {
  int rows = 64;
  int channels = 0;
  std::vector<Cell> cells;  // row by row
  Pattern(int rowCount, int channelCount)
      : rows(rowCount), channels(channelCount), cells(static_cast<size_t>(rowCount * channelCount)) {}
  Cell& At(int row, int channel) { return cells[static_cast<size_t>(row * channels + channel)]; }
};

struct EnvelopePoint {
  uint16_t tick;
  uint16_t value;  // 0 .. 64
};

struct Instrument {
  std::string name;
  std::vector<int16_t> sample;
  int sampleRate = 22050;  // the rate at which note C-4 plays the sample as recorded
  bool loop = false;
  uint32_t loopStart = 0, loopLength = 0;
  uint8_t volume = 64;
  uint8_t panning = 128;
  std::vector<EnvelopePoint> envelope;  // empty: no volume envelope
  int sustainPoint = -1;
  uint16_t fadeout = 0;
  uint8_t vibratoDepth = 0, vibratoRate = 0, vibratoSweep = 0;
};

struct Module {
  std::string name;
  int channels = 8;
  int speed = 6;    // ticks per row
  int tempo = 125;  // beats per minute
  std::vector<uint8_t> order;
  std::vector<Pattern> patterns;
  std::vector<Instrument> instruments;
};

std::vector<uint8_t> Write(const Module& m);

// "C-4"-style note names: "C4", "F#3", "Bb5" to XM note numbers.
uint8_t NoteNumber(const std::string& name);

}  // namespace bd::xm
