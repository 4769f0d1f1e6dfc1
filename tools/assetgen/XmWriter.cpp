#include "XmWriter.h"

#include <cmath>
#include <stdexcept>

#include "common/ByteWriter.h"

namespace bd::xm {

namespace {

struct Out {
  std::vector<uint8_t> b;
  void U8(uint32_t v) { b.push_back(static_cast<uint8_t>(v)); }
  void U16(uint32_t v) { PutLe16(b, v); }
  void U32(uint32_t v) { PutLe32(b, v); }
  void Text(const std::string& s, size_t width) {
    for (size_t i = 0; i < width; ++i) U8(i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
  }
  void Zeros(size_t n) { b.insert(b.end(), n, 0); }
};

std::vector<uint8_t> Pack(const Pattern& p) {
  std::vector<uint8_t> out;
  for (const Cell& c : p.cells) {
    uint8_t flags = 0x80;
    if (c.note) flags |= 1;
    if (c.instrument) flags |= 2;
    if (c.volume) flags |= 4;
    if (c.effect) flags |= 8;
    if (c.param) flags |= 16;
    out.push_back(flags);
    if (c.note) out.push_back(c.note);
    if (c.instrument) out.push_back(c.instrument);
    if (c.volume) out.push_back(c.volume);
    if (c.effect) out.push_back(c.effect);
    if (c.param) out.push_back(c.param);
  }
  return out;
}

}  // namespace

uint8_t NoteNumber(const std::string& name) {
  static const int base[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') throw std::invalid_argument(name);
  int semi = base[name[0] - 'A'];
  size_t i = 1;
  if (name[i] == '#') {
    ++semi;
    ++i;
  } else if (name[i] == 'b') {
    --semi;
    ++i;
  }
  int octave = name[i] - '0';
  int n = 1 + octave * 12 + semi;
  if (n < 1 || n > 96) throw std::invalid_argument(name);
  return static_cast<uint8_t>(n);
}

std::vector<uint8_t> Write(const Module& m) {
  Out o;
  o.Text("Extended Module: ", 17);
  o.Text(m.name, 20);
  o.U8(0x1A);
  o.Text("Bumper Dash assetgen", 20);
  o.U16(0x0104);
  o.U32(276);
  o.U16(static_cast<uint32_t>(m.order.size()));
  o.U16(0);  // restart position: the song starts over from its first order
  o.U16(static_cast<uint32_t>(m.channels));
  o.U16(static_cast<uint32_t>(m.patterns.size()));
  o.U16(static_cast<uint32_t>(m.instruments.size()));
  o.U16(1);  // linear frequency table
  o.U16(static_cast<uint32_t>(m.speed));
  o.U16(static_cast<uint32_t>(m.tempo));
  for (size_t i = 0; i < 256; ++i) o.U8(i < m.order.size() ? m.order[i] : 0);

  for (const Pattern& p : m.patterns) {
    std::vector<uint8_t> data = Pack(p);
    o.U32(9);
    o.U8(0);
    o.U16(static_cast<uint32_t>(p.rows));
    o.U16(static_cast<uint32_t>(data.size()));
    o.b.insert(o.b.end(), data.begin(), data.end());
  }

  for (const Instrument& in : m.instruments) {
    size_t start = o.b.size();
    o.U32(263);
    o.Text(in.name, 22);
    o.U8(0);
    o.U16(1);
    o.U32(40);
    o.Zeros(96);  // every note plays sample 0
    for (size_t i = 0; i < 12; ++i) {
      if (i < in.envelope.size()) {
        o.U16(in.envelope[i].tick);
        o.U16(in.envelope[i].value);
      } else {
        o.U32(0);
      }
    }
    o.Zeros(48);  // no panning envelope
    o.U8(static_cast<uint32_t>(in.envelope.size()));
    o.U8(0);
    o.U8(static_cast<uint32_t>(in.sustainPoint < 0 ? 0 : in.sustainPoint));
    o.U8(0);
    o.U8(0);
    o.U8(0);
    o.U8(0);
    o.U8(0);
    uint32_t envType = in.envelope.empty() ? 0 : 1;
    if (in.sustainPoint >= 0) envType |= 2;
    o.U8(envType);
    o.U8(0);
    o.U8(0);  // vibrato waveform: sine
    o.U8(in.vibratoSweep);
    o.U8(in.vibratoDepth);
    o.U8(in.vibratoRate);
    o.U16(in.fadeout);
    o.Zeros(start + 263 - o.b.size());

    // The sample plays at C-4 at 8363 Hz; relative note and fine tune move
    // that to the rate the sample was rendered at.
    double semis = 12.0 * std::log2(in.sampleRate / 8363.0);
    int relative = static_cast<int>(std::floor(semis));
    int fine = static_cast<int>(std::lround((semis - relative) * 128));
    if (fine > 127) {
      fine -= 128;
      ++relative;
    }
    o.U32(static_cast<uint32_t>(in.sample.size() * 2));
    o.U32(in.loopStart * 2);
    o.U32(in.loopLength * 2);
    o.U8(in.volume);
    o.U8(static_cast<uint32_t>(static_cast<uint8_t>(static_cast<int8_t>(fine))));
    o.U8((in.loop ? 1 : 0) | 0x10);
    o.U8(in.panning);
    o.U8(static_cast<uint32_t>(static_cast<uint8_t>(static_cast<int8_t>(relative))));
    o.U8(0);
    o.Text(in.name, 22);
    int16_t prev = 0;
    for (int16_t v : in.sample) {
      o.U16(static_cast<uint16_t>(static_cast<int16_t>(v - prev)));
      prev = v;
    }
  }
  return o.b;
}

}  // namespace bd::xm
