#include "Instruments.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Synth.h"

namespace bd::xm {

namespace {

using synth::Buffer;
using synth::NoiseSource;
using synth::Svf;
constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr int kRate = 22050;
constexpr double kC4 = 261.6256;

std::vector<int16_t> ToPcm(const Buffer& b, double peak) {
  double m = 0;
  for (double v : b.s) m = std::max(m, std::fabs(v));
  double k = m > 0 ? peak / m : 0;
  std::vector<int16_t> out(b.size());
  for (size_t i = 0; i < b.size(); ++i)
    out[i] = static_cast<int16_t>(std::lround(std::clamp(b.s[i] * k, -1.0, 1.0) * 32767));
  return out;
}

Instrument OneShot(const char* name, const Buffer& b, uint8_t volume) {
  Instrument in;
  in.name = name;
  in.sample = ToPcm(b, 0.95);
  in.sampleRate = kRate;
  in.volume = volume;
  return in;
}

// A looped tone: `cycles` whole periods of C-4 in the loop, so it joins without
// a click. voice(phase, t) gives one sample; the loop is rendered twice through
// the filter and the second pass kept, so the filter has settled.
template <typename Voice>
Instrument Looped(const char* name, int cycles, Voice voice, double cutoff, double q) {
  const int n = static_cast<int>(std::lround(cycles * kRate / kC4));
  const double f = cycles * static_cast<double>(kRate) / n;
  Buffer b(kRate, 0);
  b.s.resize(static_cast<size_t>(n));
  Svf filter;
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < n; ++i) {
      double phase = f * i / kRate;
      double v = filter.Low(voice(phase, static_cast<double>(i) / n), cutoff, q, kRate);
      if (pass == 1) b.s[static_cast<size_t>(i)] = v;
    }
  }
  Instrument in;
  in.name = name;
  in.sample = ToPcm(b, 0.9);
  in.sampleRate = kRate;
  in.loop = true;
  in.loopStart = 0;
  in.loopLength = static_cast<uint32_t>(n);
  return in;
}

Buffer Kick() {
  Buffer b(kRate, 0.35);
  double phase = 0;
  for (size_t i = 0; i < b.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    phase += (48 + 130 * std::exp(-t / 0.03)) / kRate;
    b.s[i] = std::sin(kTwoPi * phase) * std::exp(-t / 0.12) +
             0.3 * std::sin(kTwoPi * phase * 2) * std::exp(-t / 0.01);
  }
  return b;
}

Buffer Snare() {
  Buffer b(kRate, 0.25);
  NoiseSource n(3);
  Svf f;
  for (size_t i = 0; i < b.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double tone = std::sin(kTwoPi * 190 * t) * std::exp(-t / 0.04);
    double rattle = f.High(n.Next(), 1800, 0.7, kRate) * std::exp(-t / 0.07);
    b.s[i] = tone * 0.6 + rattle;
  }
  return b;
}

Buffer Hat(double tau, uint32_t seed) {
  Buffer b(kRate, tau * 5);
  NoiseSource n(seed);
  Svf f;
  for (size_t i = 0; i < b.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    b.s[i] = f.High(n.Next(), 7000, 0.8, kRate) * std::exp(-t / tau);
  }
  return b;
}

}  // namespace

std::vector<Instrument> MakeInstruments() {
  std::vector<Instrument> out;
  out.push_back(OneShot("kick", Kick(), 64));
  out.push_back(OneShot("snare", Snare(), 52));
  out.push_back(OneShot("hat", Hat(0.02, 5), 30));

  // Bass: a square and a saw an octave apart, through a warm low-pass.
  Instrument bass = Looped(
      "bass", 12,
      [](double p, double) {
        return 0.6 * synth::Shape(synth::Wave::Square, p) + 0.5 * synth::Shape(synth::Wave::Saw, p * 2);
      },
      1400, 1.4);
  bass.volume = 56;
  bass.envelope = {{0, 64}, {6, 48}, {30, 36}, {60, 0}};
  bass.sustainPoint = 2;
  bass.fadeout = 2048;
  out.push_back(bass);

  // Lead: a bright pulse with a touch of octave, singing vibrato.
  Instrument lead = Looped(
      "lead", 8,
      [](double p, double) {
        return 0.7 * synth::Shape(synth::Wave::Pulse25, p) + 0.3 * synth::Shape(synth::Wave::Triangle, p * 2);
      },
      2200, 1.0);
  lead.volume = 44;
  lead.envelope = {{0, 0}, {2, 64}, {12, 50}, {200, 40}, {260, 0}};
  lead.sustainPoint = 2;
  lead.fadeout = 1024;
  lead.vibratoDepth = 3;
  lead.vibratoRate = 12;
  lead.vibratoSweep = 30;
  out.push_back(lead);

  // Pad: two saws a cycle apart in the loop, a slow chorus, soft attack.
  Instrument pad = Looped(
      "pad", 96,
      [](double p, double t) {
        double p2 = p * 97.0 / 96.0;  // one extra cycle over the loop: a slow beat
        (void)t;
        return 0.5 * synth::Shape(synth::Wave::Saw, p) + 0.5 * synth::Shape(synth::Wave::Saw, p2) +
               0.3 * synth::Shape(synth::Wave::Sine, p * 0.5);
      },
      1600, 0.8);
  pad.volume = 30;
  pad.envelope = {{0, 0}, {20, 50}, {40, 64}, {80, 0}};
  pad.sustainPoint = 2;
  pad.fadeout = 600;
  out.push_back(pad);

  // Pluck: a decaying bell-like tone for arpeggios.
  {
    Buffer b(kRate, 0.6);
    for (size_t i = 0; i < b.size(); ++i) {
      double t = static_cast<double>(i) / kRate;
      b.s[i] = (std::sin(kTwoPi * kC4 * t) + 0.5 * std::sin(kTwoPi * kC4 * 2 * t) * std::exp(-t / 0.08) +
                0.25 * std::sin(kTwoPi * kC4 * 3 * t) * std::exp(-t / 0.04)) *
               std::exp(-t / 0.18) * std::min(1.0, t / 0.002);
    }
    out.push_back(OneShot("pluck", b, 34));
  }
  out.push_back(OneShot("crash", Hat(0.35, 9), 34));
  return out;
}

}  // namespace bd::xm
