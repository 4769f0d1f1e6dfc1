// Sound effects: clicks, tones, engine layers, crowd, screeches, shots,
// splashes, crashes, explosions, a whoosh, a bell and pickup jingles.

#include "Sounds.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <deque>
#include <numbers>
#include <vector>

#include "assets/AssetNames.h"

namespace bd::synth {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

double Note(double semitonesFromA4) { return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0); }

SoundItem Item(TSoundName name, const Buffer& mono, int bits, bool looped = false, int max = 0) {
  return SoundItem{std::string(name.Text()), looped, max, WaveFile(mono, nullptr, bits)};
}

SoundItem Stereo(TSoundName name, const Buffer& l, const Buffer& r, int bits) {
  return SoundItem{std::string(name.Text()), false, 0, WaveFile(l, &r, bits)};
}

// ---- levels

constexpr double kWindowSeconds = 0.05;

double FromDb(double db) { return std::pow(10.0, db / 20.0); }

double Peak(const Buffer& l, const Buffer* r) {
  double m = 0;
  for (double v : l.s) m = std::max(m, std::fabs(v));
  if (r != nullptr)
    for (double v : r->s) m = std::max(m, std::fabs(v));
  return m;
}

// A look-ahead limiter: the gain that keeps every sample under `ceiling`
// is taken down a millisecond or two before a peak and back up after it, as a
// smooth curve rather than a bend in the wave, so a loud transient is
// turned down instead of being flattened. Every sample of the result stays
// under the ceiling: each point's gain is an average of gains that were
// each the least one needed within reach of that point.
std::vector<double> LimiterGain(const std::vector<double>& level, double ceiling, int rate) {
  const size_t n = level.size();
  const size_t reach = std::max<size_t>(2, static_cast<size_t>(0.0015 * rate));
  std::vector<double> need(n);
  for (size_t i = 0; i < n; ++i) need[i] = level[i] > ceiling ? ceiling / level[i] : 1.0;
  // The least gain within `reach` on either side (a sliding minimum).
  std::vector<double> least(n);
  std::deque<size_t> window;
  for (size_t i = 0, next = 0; i < n; ++i) {
    for (; next < n && next <= i + reach; ++next) {
      while (!window.empty() && need[window.back()] >= need[next]) window.pop_back();
      window.push_back(next);
    }
    while (window.front() + reach < i) window.pop_front();
    least[i] = need[window.front()];
  }
  // Averaged over half that reach on either side.
  const size_t half = reach / 2;
  std::vector<double> sum(n + 1, 0.0);
  for (size_t i = 0; i < n; ++i) sum[i + 1] = sum[i] + least[i];
  std::vector<double> gain(n);
  for (size_t i = 0; i < n; ++i) {
    const size_t from = i >= half ? i - half : 0, to = std::min(n, i + half + 1);
    gain[i] = (sum[to] - sum[from]) / static_cast<double>(to - from);
  }
  return gain;
}

// Brings a sound (one or two channels) to its loudness with its peaks
// under its ceiling.
void Level(const LevelTarget& t, Buffer& l, Buffer* r = nullptr) {
  // A hair under the ceiling, so that rounding to the file's samples stays under it too.
  const double ceiling = FromDb(t.peakDb) * 0.995;
  const Buffer srcL = l;
  const Buffer srcR = r != nullptr ? *r : Buffer();
  double gain = FromDb(t.loudnessDb - LoudnessDb(l, r));
  // Limiting takes some loudness away, so the gain is found in a few rounds.
  for (int round = 0; round < 24; ++round) {
    std::vector<double> level(srcL.size());
    for (size_t i = 0; i < level.size(); ++i) {
      level[i] = std::fabs(srcL.s[i]) * gain;
      if (r != nullptr && i < srcR.size()) level[i] = std::max(level[i], std::fabs(srcR.s[i]) * gain);
    }
    const std::vector<double> limit = LimiterGain(level, ceiling, l.rate);
    for (size_t i = 0; i < l.size(); ++i) l.s[i] = srcL.s[i] * gain * limit[i];
    if (r != nullptr)
      for (size_t i = 0; i < r->size(); ++i) r->s[i] = srcR.s[i] * gain * (i < limit.size() ? limit[i] : 1.0);
    const double miss = t.loudnessDb - LoudnessDb(l, r);
    if (std::fabs(miss) < 0.05) break;
    gain *= FromDb(miss);
  }
}

// ---- interface sounds

Buffer Tick() {
  Buffer b(22050, 0.04);
  NoiseSource n(1);
  Svf f;
  for (size_t i = 0; i < b.size(); ++i) {
    double t = static_cast<double>(i) / b.rate;
    b.s[i] = (0.6 * std::sin(kTwoPi * 2200 * t) + 0.4 * f.Band(n.Next(), 4000, 3, b.rate)) *
             ExpDecay(t, 0.006) * std::min(1.0, t / 0.001);
  }
  b.Normalize(0.5);
  return b;
}

Buffer Click() {
  Buffer b(22050, 0.08);
  NoiseSource n(2);
  Svf f;
  double phase = 0;
  for (size_t i = 0; i < b.size(); ++i) {
    double t = static_cast<double>(i) / b.rate;
    double freq = 160 + 500 * ExpDecay(t, 0.01);
    phase += freq / b.rate;
    double thump = std::sin(kTwoPi * phase) * ExpDecay(t, 0.025);
    double snap = f.Band(n.Next(), 3000, 2, b.rate) * ExpDecay(t, 0.004);
    b.s[i] = (thump * 0.8 + snap * 1.5) * std::min(1.0, t / 0.0008);
  }
  b.Normalize(0.8);
  return b;
}

// Two soft notes, one after the other.
Buffer TwoTone(double f0, double f1) {
  Buffer b(11025, 0.3);
  for (size_t i = 0; i < b.size(); ++i) {
    double t = static_cast<double>(i) / b.rate;
    bool second = t >= 0.15;
    double local = second ? t - 0.15 : t;
    double f = second ? f1 : f0;
    double env = Adsr(local, 0.15, 0.005, 0.05, 0.6, 0.04);
    b.s[i] = (0.7 * std::sin(kTwoPi * f * t) + 0.3 * Shape(Wave::Triangle, 2 * f * t)) * env;
  }
  b.Normalize(0.7);
  return b;
}

// ---- engine layers

// One grain of engine sound. The race starts a copy every frame and the
// copies overlap, so what is heard repeats at the frame rate whatever the
// grain holds; the grain decides the timbre. Each layer is the engine's
// firing pulses and a little noise through a resonance (`formant`), under a
// smooth bell-shaped window so that overlapping copies blend without edges.
Buffer EngineGrain(double firing, double formant, double grit, uint32_t seed, double gain) {
  Buffer b(22050, 0.12);
  NoiseSource n(seed);
  Svf body;
  double phase = 0;
  const double len = static_cast<double>(b.size());
  for (size_t i = 0; i < b.size(); ++i) {
    phase += firing / b.rate;
    double pulse = std::pow(std::max(0.0, std::sin(kTwoPi * phase)), 4.0);
    double v = body.Band(pulse + grit * n.Next(), formant, 1.8, b.rate);
    double w = 0.5 - 0.5 * std::cos(kTwoPi * static_cast<double>(i) / (len - 1));
    b.s[i] = v * w;
  }
  b.Normalize(gain);
  return b;
}

// ---- crowd and fanfare

void Applause(Buffer& l, Buffer& r) {
  l = Buffer(22050, 2.5);
  r = Buffer(22050, 2.5);
  NoiseSource n(7);
  // Hundreds of single claps, each a short burst of band-passed noise.
  for (int k = 0; k < 1500; ++k) {
    double at = std::pow(n.Uniform(), 1.3) * 2.3;
    double pan = n.Uniform();
    double centre = 900 + 1600 * n.Uniform();
    Buffer clap(22050, 0.03);
    Svf f;
    for (size_t i = 0; i < clap.size(); ++i) {
      double t = static_cast<double>(i) / clap.rate;
      clap.s[i] = f.Band(n.Next(), centre, 1.6, clap.rate) * ExpDecay(t, 0.006);
    }
    double swell = std::min(1.0, at / 0.15) * (1 - 0.5 * at / 2.5);
    l.Mix(clap, at, (1 - pan) * swell);
    r.Mix(clap, at, pan * swell);
  }
  // Fade out the tail and bring both sides to the same loudness.
  for (Buffer* b : {&l, &r}) {
    b->s.resize(static_cast<size_t>(2.5 * b->rate));
    for (size_t i = 0; i < b->size(); ++i) {
      double t = static_cast<double>(i) / b->rate;
      if (t > 2.1) b->s[i] *= (2.5 - t) / 0.4;
    }
  }
  double m = 0;
  for (double v : l.s) m = std::max(m, std::fabs(v));
  for (double v : r.s) m = std::max(m, std::fabs(v));
  // The claps pile up into noise whose peaks stand far above its body; a
  // soft saturation rounds the highest of them off (heard as a denser
  // crowd, not as distortion), so that the applause can be made as loud as
  // the cues that stop the engine without passing the cue's ceiling.
  for (Buffer* b : {&l, &r})
    for (double& v : b->s) v = 0.8 * std::tanh(3 * v / m) / std::tanh(3.0);
}

// A brass-like note: a saw through a filter that opens with the attack.
Buffer Brass(int rate, double f, double seconds, double vibrato) {
  Buffer b(rate, seconds);
  Svf filt;
  double phase = 0;
  for (size_t i = 0; i < b.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double vib = 1 + vibrato * std::sin(kTwoPi * 5.5 * t) * std::min(1.0, t / 0.3);
    phase += f * vib / rate;
    double env = Adsr(t, seconds, 0.02, 0.1, 0.75, 0.12);
    double cut = 600 + 3500 * env;
    b.s[i] = filt.Low(Shape(Wave::Saw, phase) * 0.7 + Shape(Wave::Square, phase) * 0.3, cut, 1.2, rate) * env;
  }
  return b;
}

void Fanfare(Buffer& l, Buffer& r) {
  const int rate = 44100;
  l = Buffer(rate, 1.5);
  r = Buffer(rate, 1.5);
  // Ta-da-da-daaa: G4 C5 E5, then a held C major chord.
  const double notes[][3] = {{-2, 0.0, 0.14}, {3, 0.15, 0.14}, {7, 0.3, 0.14}};
  for (const auto& nt : notes) {
    Buffer n = Brass(rate, Note(nt[0]), nt[2], 0);
    l.Mix(n, nt[1], 0.45);
    r.Mix(n, nt[1], 0.35);
  }
  const double chord[] = {3, 7, 10, 15};
  for (size_t k = 0; k < std::size(chord); ++k) {
    Buffer n = Brass(rate, Note(chord[k]), 1.0, 0.008);
    l.Mix(n, 0.45, k % 2 ? 0.22 : 0.3);
    r.Mix(n, 0.45, k % 2 ? 0.3 : 0.22);
  }
  l.s.resize(static_cast<size_t>(1.5 * rate));
  r.s.resize(static_cast<size_t>(1.5 * rate));
  double m = 0;
  for (double v : l.s) m = std::max(m, std::fabs(v));
  for (double v : r.s) m = std::max(m, std::fabs(v));
  for (double& v : l.s) v *= 0.85 / m;
  for (double& v : r.s) v *= 0.85 / m;
}

// ---- driving

// Rubber squealing on concrete: a wobbling high tone inside band-passed noise.
Buffer Screech(int rate, double seconds, uint32_t seed, double attack) {
  Buffer b(rate, seconds);
  NoiseSource n(seed);
  Svf f1, f2;
  double phase = 0;
  for (size_t i = 0; i < b.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double wobble = 1 + 0.04 * std::sin(kTwoPi * 23 * t) + 0.02 * n.Next();
    phase += 1500 * wobble / rate;
    double squeal = Shape(Wave::Triangle, phase) * 0.6 + Shape(Wave::Sine, phase * 2.01) * 0.25;
    double rub = f1.Band(n.Next(), 2600, 4, rate) * 0.8 + f2.Band(n.Next(), 1200, 2, rate) * 0.4;
    b.s[i] = (squeal + rub) * Adsr(t, seconds, attack, 0.05, 0.8, seconds * 0.45);
  }
  return b;
}

Buffer Thud(int rate, double seconds, double f0, uint32_t seed) {
  Buffer b(rate, seconds);
  NoiseSource n(seed);
  Svf f;
  double phase = 0;
  for (size_t i = 0; i < b.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    phase += (f0 + f0 * 2 * ExpDecay(t, 0.02)) / rate;
    b.s[i] = std::sin(kTwoPi * phase) * ExpDecay(t, 0.12) +
             f.Low(n.Next(), 400, 0.7, rate) * ExpDecay(t, 0.05) * 1.5;
  }
  return b;
}

Buffer HardStop() {
  Buffer b(22050, 0.75);
  b.Mix(Screech(22050, 0.38, 11, 0.01), 0, 0.7);
  b.Mix(Thud(22050, 0.4, 55, 12), 0.33, 1.0);
  b.Normalize(0.9);
  return b;
}

Buffer Shot() {
  const int rate = 44100;
  Buffer b(rate, 0.15);
  NoiseSource n(21);
  Svf f;
  double phase = 0;
  for (size_t i = 0; i < b.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    phase += (80 + 400 * ExpDecay(t, 0.012)) / rate;
    double crack = f.Low(n.Next(), 1500 + 9000 * ExpDecay(t, 0.01), 0.8, rate) * ExpDecay(t, 0.03);
    b.s[i] = (crack * 1.2 + std::sin(kTwoPi * phase) * ExpDecay(t, 0.04)) * std::min(1.0, t / 0.0005);
  }
  b.Normalize(0.9);
  return b;
}

Buffer Splash() {
  Buffer b(22050, 0.6);
  NoiseSource n(31);
  Svf f;
  for (size_t i = 0; i < b.size(); ++i) {
    double t = static_cast<double>(i) / b.rate;
    double env = std::min(1.0, t / 0.02) * ExpDecay(t, 0.15);
    b.s[i] = f.Band(n.Next(), 900 + 1800 * ExpDecay(t, 0.1), 1.1, b.rate) * env;
  }
  // Droplets: short upward chirps falling back after the splash.
  for (int k = 0; k < 9; ++k) {
    double at = 0.05 + 0.45 * n.Uniform();
    double f0 = 700 + 900 * n.Uniform();
    Buffer drop = Sweep(22050, 0.04, Wave::Sine, f0, f0 * 2.2, 1.0);
    for (size_t i = 0; i < drop.size(); ++i) drop.s[i] *= ExpDecay(static_cast<double>(i) / 22050, 0.012);
    b.Mix(drop, at, 0.35);
  }
  b.s.resize(static_cast<size_t>(0.6 * b.rate));
  b.Normalize(0.85);
  return b;
}

// Struck metal: a few inharmonic partials ringing down.
Buffer Clank(int rate, double seconds, double f0, double tau) {
  Buffer b(rate, seconds);
  const double ratios[] = {1.0, 2.64, 4.13, 5.8, 7.9};
  for (size_t i = 0; i < b.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double v = 0;
    for (size_t k = 0; k < std::size(ratios); ++k)
      v += std::sin(kTwoPi * f0 * ratios[k] * t) * ExpDecay(t, tau / (1 + k * 0.6)) / (1 + k * 0.5);
    b.s[i] = v;
  }
  return b;
}

void WallCrash(Buffer& l, Buffer& r) {
  const int rate = 22050;
  l = Buffer(rate, 0.8);
  r = Buffer(rate, 0.8);
  NoiseSource n(41);
  Buffer thud = Thud(rate, 0.5, 60, 42);
  l.Mix(thud, 0, 0.8);
  r.Mix(thud, 0, 0.8);
  l.Mix(Clank(rate, 0.7, 310, 0.18), 0.005, 0.35);
  r.Mix(Clank(rate, 0.7, 345, 0.15), 0.02, 0.35);
  // Crunch: a cluster of short crackles of breaking glass and metal.
  for (int k = 0; k < 40; ++k) {
    double at = 0.01 + 0.35 * std::pow(n.Uniform(), 2.0);
    Buffer c(rate, 0.02);
    Svf f;
    double centre = 2000 + 4000 * n.Uniform();
    for (size_t i = 0; i < c.size(); ++i)
      c.s[i] = f.Band(n.Next(), centre, 3, rate) * ExpDecay(static_cast<double>(i) / rate, 0.004);
    double pan = n.Uniform();
    l.Mix(c, at, 0.6 * (1 - pan));
    r.Mix(c, at, 0.6 * pan);
  }
  l.s.resize(static_cast<size_t>(0.8 * rate));
  r.s.resize(static_cast<size_t>(0.8 * rate));
  double m = 0;
  for (double v : l.s) m = std::max(m, std::fabs(v));
  for (double v : r.s) m = std::max(m, std::fabs(v));
  for (double& v : l.s) v *= 0.9 / m;
  for (double& v : r.s) v *= 0.9 / m;
}

Buffer Explosion() {
  const int rate = 22050;
  Buffer b(rate, 2.2);
  NoiseSource n(51);
  Svf rumble, crack;
  for (size_t i = 0; i < b.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double cut = 150 + 3500 * ExpDecay(t, 0.15);
    double body = rumble.Low(n.Next(), cut, 0.9, rate) * (0.25 + ExpDecay(t, 0.35)) * ExpDecay(t, 0.9);
    double pop = crack.High(n.Next(), 2000, 0.7, rate) * ExpDecay(t, 0.05);
    b.s[i] = (body * 2.0 + pop * 0.6) * std::min(1.0, t / 0.002);
  }
  b.Mix(Thud(rate, 0.8, 40, 52), 0, 0.9);
  // Debris crackling down through the tail.
  for (int k = 0; k < 25; ++k) {
    double at = 0.2 + 1.5 * n.Uniform();
    Buffer c(rate, 0.015);
    for (size_t i = 0; i < c.size(); ++i) c.s[i] = n.Next() * ExpDecay(static_cast<double>(i) / rate, 0.003);
    b.Mix(c, at, 0.25 * (1 - at / 2));
  }
  b.s.resize(static_cast<size_t>(2.2 * rate));
  b.Normalize(0.95);
  return b;
}

Buffer Whoosh() {
  const int rate = 22050;
  Buffer b(rate, 1.0);
  NoiseSource n(61);
  Svf f;
  double phase = 0;
  for (size_t i = 0; i < b.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double centre = 250 * std::pow(14.0, t);
    phase += centre * 0.5 / rate;
    double env = std::sin(std::numbers::pi * std::pow(t, 0.7));
    b.s[i] = (f.Band(n.Next(), centre, 2.5, rate) + 0.15 * std::sin(kTwoPi * phase)) * env;
  }
  b.Normalize(0.85);
  return b;
}

// Square-wave arpeggio, like an old console's extra life.
Buffer OneUp() {
  const int rate = 22050;
  Buffer b(rate, 0.6);
  const double notes[] = {3 + 12, 7 + 12, 10 + 12, 15 + 12, 19 + 12};
  for (size_t k = 0; k < std::size(notes); ++k) {
    double len = k + 1 == std::size(notes) ? 0.25 : 0.07;
    Buffer n(rate, len);
    double f = Note(notes[k] - 12);
    for (size_t i = 0; i < n.size(); ++i) {
      double t = static_cast<double>(i) / rate;
      n.s[i] = Shape(Wave::Pulse25, f * t) * 0.5 * Adsr(t, len, 0.002, 0.02, 0.8, 0.02) +
               Shape(Wave::Square, f * 2 * t) * 0.1 * Adsr(t, len, 0.002, 0.02, 0.5, 0.02);
    }
    b.Mix(n, 0.07 * static_cast<double>(k), 1.0);
  }
  b.Normalize(0.7);
  return b;
}

Buffer Bell() {
  const int rate = 44100;
  Buffer b(rate, 1.4);
  const double ratios[] = {1.0, 2.0, 2.76, 5.4, 8.93};
  const double amps[] = {1.0, 0.5, 0.6, 0.3, 0.15};
  for (size_t i = 0; i < b.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double v = 0;
    for (size_t k = 0; k < std::size(ratios); ++k)
      v += std::sin(kTwoPi * 1046.5 * ratios[k] * t) * amps[k] * ExpDecay(t, 0.6 / (1 + k));
    b.s[i] = v * std::min(1.0, t / 0.001);
  }
  b.Normalize(0.8);
  return b;
}

Buffer Beep() {
  Buffer b(11025, 0.12);
  for (size_t i = 0; i < b.size(); ++i) {
    double t = static_cast<double>(i) / b.rate;
    double f = t < 0.05 ? 1318.5 : 1760;
    b.s[i] = (std::sin(kTwoPi * f * t) * 0.8 + Shape(Wave::Square, f * t) * 0.15) *
             Adsr(t, 0.12, 0.003, 0.02, 0.8, 0.03);
  }
  b.Normalize(0.6);
  return b;
}

}  // namespace

LevelTarget TargetOf(SoundKind kind) {
  // Played at the mixer's voice gain (-6 dB) in a race, whose loudest
  // second (the race music's loudest, with the engine at top speed) comes to
  // about -22 dBFS in the mix: cues (-18 dBFS there, most of them over the
  // engine that plays on) stand 4.5 dB or more above it, menu sounds sit
  // lower. A cue's peaks are at most 7 dB above its
  // loudness (6 dB for those that stop the engine, below), which noise-like
  // and thudding sounds (applause, crashes) reach only through the
  // limiter. Peaks leave room for two cues, the engine and the music at
  // once.
  switch (kind) {
    case SoundKind::Interface:
      return {-18, -6};
    case SoundKind::Cue:
      return {-12, -5};
    case SoundKind::Held:
      return {-26, -16};
    case SoundKind::Engine:
      break;
  }
  return {-30, -20};  // one engine grain; the layers are made by their pile-up
}

bool StopsTheEngine(const std::string& name) {
  return name == snd::HardStop.Text() || name == snd::Explosion.Text() || name == snd::Applause.Text();
}

LevelTarget TargetFor(const std::string& name) {
  LevelTarget t = TargetOf(KindOf(name));
  // The car stands still from the moment these sound, so the engine falls
  // silent under them: each is heard by itself against the roar that has
  // just ended, without the engine's share that the other cues sound on,
  // and is made louder by about that share.
  if (StopsTheEngine(name)) t.loudnessDb += 1;
  return t;
}

SoundKind KindOf(const std::string& name) {
  if (name == snd::ButtonUp.Text() || name == snd::ButtonDown.Text()) return SoundKind::Interface;
  if (name == snd::EngineIdle.Text() || name == snd::EngineMid.Text() || name == snd::EngineHigh.Text())
    return SoundKind::Engine;
  if (name == snd::Handbrake.Text()) return SoundKind::Held;
  return SoundKind::Cue;
}

double LoudnessDb(const Buffer& left, const Buffer* right) {
  const size_t window = std::max<size_t>(1, static_cast<size_t>(kWindowSeconds * left.rate));
  const size_t hop = std::max<size_t>(1, window / 5);
  double loudest = 0;
  for (size_t at = 0; at < left.size(); at += hop) {
    const size_t end = std::min(left.size(), at + window);
    double e = 0;
    for (size_t i = at; i < end; ++i) {
      e += left.s[i] * left.s[i];
      if (right != nullptr && i < right->size()) e += right->s[i] * right->s[i];
    }
    // A sound shorter than the window counts over the window, as heard.
    loudest = std::max(loudest, e / static_cast<double>(window * (right != nullptr ? 2 : 1)));
    if (end == left.size()) break;
  }
  return loudest > 0 ? 10 * std::log10(loudest) : -200.0;
}

std::vector<SoundItem> MakeSounds() {
  std::vector<SoundItem> out;
  // A mono sound levelled for its kind.
  auto mono = [&out](TSoundName name, Buffer b, int bits, int max = 0) {
    Level(TargetFor(std::string(name.Text())), b);
    out.push_back(Item(name, b, bits, false, max));
  };
  auto stereo = [&out](TSoundName name, Buffer l, Buffer r, int bits) {
    Level(TargetFor(std::string(name.Text())), l, &r);
    out.push_back(Stereo(name, l, r, bits));
  };
  mono(snd::ButtonUp, Tick(), 8);
  mono(snd::ButtonDown, Click(), 16);
  mono(snd::Pause, TwoTone(880, 587.3), 8);
  mono(snd::AfterPause, TwoTone(587.3, 880), 8);
  // The engine layers are restarted every frame: each is a short windowed
  // grain that is never cut off (the copy limit is above the number of
  // grains that overlap), so the copies add up to one steady sound. Their
  // balance rises with speed; together they are scaled so that the pile-up
  // at top speed peaks at the level the mixer keeps room for.
  EngineLayer engine[3] = {{EngineGrain(33, 150, 0.25, 71, 0.08), 16},
                           {EngineGrain(66, 420, 0.35, 72, 0.14), 16},
                           {EngineGrain(100, 1000, 0.45, 73, 0.13), 16}};
  double enginePeak = 0;
  for (double frameMs : {15.0, 16.0, 20.0}) {
    const Buffer run = RenderEngineRun(
        engine, 1.0, frameMs, [](double) { return 10.0; }, 22050);
    enginePeak = std::max(enginePeak, Peak(run, nullptr));
  }
  const TSoundName engineNames[] = {snd::EngineIdle, snd::EngineMid, snd::EngineHigh};
  for (int i = 0; i < 3; ++i) {
    for (double& v : engine[i].wave.s) v *= 0.95 * kEnginePeak / enginePeak;
    out.push_back(Item(engineNames[i], engine[i].wave, 16, false, engine[i].maxPlayingCount));
  }
  Buffer l, r;
  Applause(l, r);
  stereo(snd::Applause, l, r, 16);
  Fanfare(l, r);
  stereo(snd::Viva, l, r, 16);
  // The handbrake plays every frame while it is held: a soft attack and no
  // copy limit let the overlapping screeches blend instead of cutting each
  // other off, and its kind's level keeps the pile-up of some 27 copies at
  // the level of a cue.
  mono(snd::Handbrake, Screech(22050, 0.4, 81, 0.03), 8);
  // One press of the stop key plays this once; one copy at a time.
  mono(snd::HardStop, HardStop(), 16, 1);
  mono(snd::Shot, Shot(), 16, 4);
  mono(snd::PuddleSplash, Splash(), 8);
  WallCrash(l, r);
  stereo(snd::WallHit, l, r, 16);
  mono(snd::Explosion, Explosion(), 16, 4);
  mono(snd::MeteoriteFalls, Whoosh(), 16);
  mono(snd::ExtraLife, OneUp(), 8);
  mono(snd::Bell, Bell(), 16);
  mono(snd::Beep, Beep(), 8);
  return out;
}

Buffer RenderEngineRun(const EngineLayer (&input)[3], double seconds, double frameMs,
                       double (*speedAt)(double), int rate) {
  struct Layer {
    const Buffer& wave;
    int max;
    std::vector<double> copies;  // start time of each copy, in list order
  };
  Layer layers[] = {{input[0].wave, input[0].maxPlayingCount, {}},
                    {input[1].wave, input[1].maxPlayingCount, {}},
                    {input[2].wave, input[2].maxPlayingCount, {}}};
  Buffer out(rate, seconds);
  // Each copy plays from its start time until it ends or is restarted; the
  // mix adds every copy's stretch of samples, resampled to `rate`.
  std::vector<std::vector<std::pair<double, double>>> spans(3);  // (start, stop) per layer
  auto play = [&](int li, double now) {
    Layer& L = layers[li];
    double len = L.wave.Seconds();
    for (double& start : L.copies) {
      if (now - start >= len) {  // a finished copy is reused in place
        start = now;
        spans[static_cast<size_t>(li)].push_back({now, now + len});
        return;
      }
    }
    if (L.max == 0 || static_cast<int>(L.copies.size()) < L.max) {
      L.copies.push_back(now);
      spans[static_cast<size_t>(li)].push_back({now, now + len});
      return;
    }
    // Every copy busy: the one restarted longest ago is cut off and restarted.
    double oldest = L.copies.front();
    for (auto& sp : spans[static_cast<size_t>(li)])
      if (sp.first == oldest && sp.second > now) sp.second = now;
    L.copies.erase(L.copies.begin());
    L.copies.push_back(now);
    spans[static_cast<size_t>(li)].push_back({now, now + len});
  };
  for (double now = 0; now < seconds; now += frameMs / 1000.0) {
    double v = speedAt(now);
    if (v > 0) play(0, now);
    if (v > 3) play(1, now);
    if (v > 8) play(2, now);
    if (v < 0) play(0, now);
  }
  for (size_t li = 0; li < 3; ++li) {
    const Buffer& w = layers[li].wave;
    if (w.s.empty()) continue;
    for (auto [start, stop] : spans[li]) {
      size_t i0 = static_cast<size_t>(std::lround(start * rate));
      size_t i1 = std::min(out.size(), static_cast<size_t>(std::lround(stop * rate)));
      for (size_t i = i0; i < i1; ++i) {
        double src = (static_cast<double>(i - i0)) * w.rate / rate;
        size_t k = static_cast<size_t>(src);
        if (k + 1 >= w.size()) break;
        double frac = src - static_cast<double>(k);
        out.s[i] += w.s[k] * (1 - frac) + w.s[k + 1] * frac;
      }
    }
  }
  return out;
}

}  // namespace bd::synth
