#pragma once
// A small synthesiser: oscillators, noise, filters and envelopes working on
// buffers of samples in -1 .. 1. Every random source is seeded, so every
// build renders the same sounds.

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace bd::synth {

// One channel of samples at a sample rate.
struct Buffer {
  int rate = 22050;
  std::vector<double> s;
  Buffer() = default;
  Buffer(int sampleRate, double seconds);
  size_t size() const { return s.size(); }
  double Seconds() const { return static_cast<double>(s.size()) / rate; }
  // Adds another buffer (same rate) starting at `at` seconds, scaled by gain.
  void Mix(const Buffer& other, double at, double gain = 1.0);
  // Scales so the loudest sample reaches `peak`.
  void Normalize(double peak);
};

// Deterministic white noise in -1 .. 1.
class NoiseSource {
 public:
  explicit NoiseSource(uint32_t seed) : s_(seed * 747796405u + 2891336453u) {}
  double Next() {
    s_ = s_ * 1664525u + 1013904223u;
    return static_cast<double>(static_cast<int32_t>(s_)) / 2147483648.0;
  }
  double Uniform() { return (Next() + 1) / 2; }

 private:
  uint32_t s_;
};

enum class Wave { Sine, Square, Saw, Triangle, Pulse25 };
// One sample of a waveform at phase 0 .. 1.
double Shape(Wave w, double phase);

// A state-variable filter: low, band and high pass outputs from one input.
class Svf {
 public:
  // cutoff in Hz, q about 0.5 (soft) .. 10 (ringing).
  double Low(double in, double cutoff, double q, int rate);
  double Band(double in, double cutoff, double q, int rate);
  double High(double in, double cutoff, double q, int rate);

 private:
  void Run(double in, double cutoff, double q, int rate);
  double low_ = 0, band_ = 0, high_ = 0;
};

// Envelope helpers, t in seconds.
double Adsr(double t, double length, double attack, double decay, double sustain, double release);
inline double ExpDecay(double t, double tau) { return t < 0 ? 0 : std::exp(-t / tau); }

// A tone whose frequency moves from f0 to f1 (exponentially) over its length.
Buffer Sweep(int rate, double seconds, Wave w, double f0, double f1, double amp);

// RIFF WAVE bytes of a recording: channels 1 or 2 (stereo takes a second
// buffer), 8 or 16 bits. Samples are clamped.
std::vector<uint8_t> WaveFile(const Buffer& left, const Buffer* right, int bits);

}  // namespace bd::synth
