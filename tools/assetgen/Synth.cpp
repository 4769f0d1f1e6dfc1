#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/ByteWriter.h"

namespace bd::synth {

Buffer::Buffer(int sampleRate, double seconds)
    : rate(sampleRate), s(static_cast<size_t>(std::lround(seconds * sampleRate)), 0.0) {}

void Buffer::Mix(const Buffer& other, double at, double gain) {
  size_t start = static_cast<size_t>(std::lround(at * rate));
  if (start + other.s.size() > s.size()) s.resize(start + other.s.size(), 0.0);
  for (size_t i = 0; i < other.s.size(); ++i) s[start + i] += other.s[i] * gain;
}

void Buffer::Normalize(double peak) {
  double m = 0;
  for (double v : s) m = std::max(m, std::fabs(v));
  if (m <= 0) return;
  for (double& v : s) v *= peak / m;
}

double Shape(Wave w, double p) {
  p -= std::floor(p);
  switch (w) {
    case Wave::Sine:
      return std::sin(2 * std::numbers::pi * p);
    case Wave::Square:
      return p < 0.5 ? 1.0 : -1.0;
    case Wave::Pulse25:
      return p < 0.25 ? 1.0 : -1.0;
    case Wave::Saw:
      return 2 * p - 1;
    case Wave::Triangle:
      return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
  }
  return 0;
}

void Svf::Run(double in, double cutoff, double q, int rate) {
  // Two passes per sample keep the filter stable up to a quarter of the rate.
  double f = 2 * std::sin(std::numbers::pi * std::min(cutoff, rate * 0.24) / (2.0 * rate));
  double damp = 1.0 / std::max(q, 0.5);
  for (int i = 0; i < 2; ++i) {
    low_ += f * band_;
    high_ = in - low_ - damp * band_;
    band_ += f * high_;
  }
}

double Svf::Low(double in, double cutoff, double q, int rate) {
  Run(in, cutoff, q, rate);
  return low_;
}
double Svf::Band(double in, double cutoff, double q, int rate) {
  Run(in, cutoff, q, rate);
  return band_;
}
double Svf::High(double in, double cutoff, double q, int rate) {
  Run(in, cutoff, q, rate);
  return high_;
}

double Adsr(double t, double length, double attack, double decay, double sustain, double release) {
  if (t < 0 || t >= length) return 0;
  double v;
  if (t < attack) {
    v = t / attack;
  } else if (t < attack + decay) {
    v = 1 - (1 - sustain) * (t - attack) / decay;
  } else {
    v = sustain;
  }
  double left = length - t;
  if (left < release) v *= left / release;
  return v;
}

Buffer Sweep(int rate, double seconds, Wave w, double f0, double f1, double amp) {
  Buffer b(rate, seconds);
  double phase = 0;
  for (size_t i = 0; i < b.size(); ++i) {
    double t = static_cast<double>(i) / static_cast<double>(b.size());
    double f = f0 * std::pow(f1 / f0, t);
    b.s[i] = Shape(w, phase) * amp;
    phase += f / rate;
  }
  return b;
}

std::vector<uint8_t> WaveFile(const Buffer& left, const Buffer* right, int bits) {
  const uint32_t channels = right ? 2 : 1;
  const uint32_t bytesPerSample = static_cast<uint32_t>(bits / 8);
  const size_t frames = right ? std::max(left.size(), right->size()) : left.size();
  const uint32_t dataBytes = static_cast<uint32_t>(frames * channels * bytesPerSample);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  PutLe32(out, 36 + dataBytes);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  PutLe32(out, 16);
  PutLe16(out, 1);  // integer PCM
  PutLe16(out, channels);
  PutLe32(out, static_cast<uint32_t>(left.rate));
  PutLe32(out, static_cast<uint32_t>(left.rate) * channels * bytesPerSample);
  PutLe16(out, channels * bytesPerSample);
  PutLe16(out, static_cast<uint32_t>(bits));
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  PutLe32(out, dataBytes);
  auto sample = [](const Buffer& b, size_t i) { return i < b.size() ? std::clamp(b.s[i], -1.0, 1.0) : 0.0; };
  for (size_t i = 0; i < frames; ++i) {
    for (uint32_t c = 0; c < channels; ++c) {
      double v = sample(c == 0 ? left : *right, i);
      if (bits == 8) {
        out.push_back(static_cast<uint8_t>(std::clamp(std::lround(v * 127.0) + 128, 0L, 255L)));
      } else {
        PutLe16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(v * 32767.0))));
      }
    }
  }
  return out;
}

}  // namespace bd::synth
