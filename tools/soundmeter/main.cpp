// Usage: soundmeter RECORDING FRAME_LOG SOUND_ARCHIVE
//
// RECORDING is the game's output as the disk audio driver writes it: raw
// 16-bit signed little-endian stereo at 44100 Hz. FRAME_LOG is the game's
// frame log (BUMPERDASH_FRAME_LOG), whose "sound NAME FRAME" records say at
// which output frame each sound effect started; SOUND_ARCHIVE gives each
// sound's length. Prints the whole recording's peak and RMS, the samples at
// full scale and the runs of them (clipping events), peak and RMS of every
// 10 s, and for every cue (the sounds that tell the player something) how
// far its loudest 50 ms stands above the median 50 ms level of the second
// before it: the median and the least over its plays, and where the least
// was. Cues that leaving the race cut short (every effect stops there) are
// only counted. Exit status 0 when no sample reached full scale and every play of
// every cue stands at least 3 dB above what came before it, 1 otherwise, 2
// when the input cannot be read.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Sounds.h"
#include "engine/sound/DXSounds.h"

namespace {

constexpr int kRate = 44100;
constexpr size_t kWindow = kRate / 20;  // 50 ms
constexpr double kMinMarginDb = 3.0;

double Db(double linear) { return linear > 0 ? 20 * std::log10(linear) : -200.0; }

struct Recording {
  std::vector<int16_t> s;  // interleaved left, right
  size_t Frames() const { return s.size() / 2; }
};

// Mean square of frames [from, to) over both channels, full scale = 1.
double MeanSquare(const Recording& r, size_t from, size_t to) {
  to = std::min(to, r.Frames());
  if (to <= from) return 0;
  double e = 0;
  for (size_t i = 2 * from; i < 2 * to; ++i) e += (r.s[i] / 32768.0) * (r.s[i] / 32768.0);
  return e / static_cast<double>(2 * (to - from));
}

double WindowDb(const Recording& r, size_t from) {
  return 10 * std::log10(std::max(MeanSquare(r, from, from + kWindow), 1e-12));
}

double Median(std::vector<double> v) {
  if (v.empty()) return -200;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: soundmeter RECORDING FRAME_LOG SOUND_ARCHIVE\n");
    return 2;
  }
  Recording rec;
  {
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "soundmeter: cannot read %s\n", argv[1]);
      return 2;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    rec.s.resize(bytes.size() / 4 * 2);
    for (size_t i = 0; i < rec.s.size(); ++i)
      rec.s[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                      (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
  }
  bd::TWaveCollection archive;
  try {
    archive.LoadArchive(argv[3]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "soundmeter: %s: %s\n", argv[3], e.what());
    return 2;
  }
  struct Start {
    std::string name;
    uint64_t frame;
    int64_t frameStartUs;     // the start of the game frame that played it
    int64_t raceLeftUs = -1;  // the start of the frame that left the race after it, if it did
  };
  std::vector<Start> starts;
  {
    std::ifstream log(argv[2]);
    std::string line;
    int64_t frameUs = 0;
    int screen = 0;
    size_t inRaceFrom = 0;  // the first start of the present race
    while (std::getline(log, line)) {
      std::istringstream fields(line);
      std::string kind;
      fields >> kind;
      if (kind == "sound") {
        std::string name;
        uint64_t frame = 0;
        if (fields >> name >> frame) starts.push_back({name, frame, frameUs});
      } else if (kind == "frame") {
        fields >> frameUs;
      } else if (kind == "screen") {
        int next = 0;
        fields >> next;
        // Leaving the race stops every effect: the starts of this race
        // learn when that was.
        if (screen == 3 && next != 3)
          for (size_t i = inRaceFrom; i < starts.size(); ++i) starts[i].raceLeftUs = frameUs;
        if (next == 3 && screen != 3) inRaceFrom = starts.size();
        screen = next;
      }
    }
  }

  // The whole recording.
  int peak = 0;
  size_t fullScale = 0, events = 0;
  bool inRun = false;
  for (int16_t v : rec.s) {
    const int a = std::abs(static_cast<int>(v));
    peak = std::max(peak, a);
    const bool full = a >= 32767;
    fullScale += full;
    if (full && !inRun) ++events;
    inRun = full;
  }
  const double seconds = static_cast<double>(rec.Frames()) / kRate;
  std::printf("Recording: %.1f s of 16-bit stereo at %d Hz\n", seconds, kRate);
  std::printf("Whole: peak %.1f dBFS, RMS %.1f dBFS, samples at full scale %zu, clipping events %zu\n",
              Db(peak / 32768.0), 10 * std::log10(std::max(MeanSquare(rec, 0, rec.Frames()), 1e-12)),
              fullScale, events);
  std::printf("Every 10 s (from, peak dBFS, RMS dBFS):");
  for (size_t at = 0; at < rec.Frames(); at += 10 * kRate) {
    int p = 0;
    for (size_t i = 2 * at; i < std::min(rec.s.size(), 2 * (at + 10 * kRate)); ++i)
      p = std::max(p, std::abs(static_cast<int>(rec.s[i])));
    std::printf("%s %zu s %.1f %.1f", at % (60 * kRate) == 0 ? "\n " : ";", at / kRate, Db(p / 32768.0),
                10 * std::log10(std::max(MeanSquare(rec, at, at + 10 * kRate), 1e-12)));
  }
  std::printf("\n");

  // The cues: each start's loudest 50 ms within its length, against the
  // median 50 ms level of the second before it (music, engine and all).
  struct CueFigures {
    std::vector<double> margins, levels;
    double worstAt = 0;  // seconds into the recording of the least margin
  };
  std::map<std::string, CueFigures> cues;
  std::map<std::string, int> cut;  // cues stopped short by the end of the race
  for (const Start& st : starts) {
    if (bd::synth::KindOf(st.name) != bd::synth::SoundKind::Cue) continue;
    const bd::TWaveCollectionItem* item = archive.Find(st.name);
    if (item == nullptr || st.frame < kRate || st.frame + kWindow > rec.Frames()) continue;
    const bd::TWaveFormat f = item->Wave().Format();
    const size_t length = f.BlockAlign > 0 && f.SamplesPerSec > 0
                              ? item->Wave().Size() / f.BlockAlign * kRate / f.SamplesPerSec
                              : kWindow;
    // The game stops every effect when it leaves the race (the last
    // explosion of a game is cut by the game-over screen): such a cue is
    // not measured against the mix, only counted.
    if (st.raceLeftUs >= 0 &&
        static_cast<double>(st.raceLeftUs - st.frameStartUs) < static_cast<double>(length) * 1e6 / kRate) {
      ++cut[st.name];
      continue;
    }
    std::vector<double> before;
    for (size_t at = st.frame - kRate; at + kWindow <= st.frame; at += kWindow / 2)
      before.push_back(WindowDb(rec, at));
    double loudest = -200;
    // The start is known to one mixed buffer; the window search covers that.
    for (size_t at = st.frame; at <= st.frame + length + 2048 && at + kWindow <= rec.Frames();
         at += kWindow / 5)
      loudest = std::max(loudest, WindowDb(rec, at));
    CueFigures& c = cues[st.name];
    const double margin = loudest - Median(before);
    if (c.margins.empty() || margin < *std::min_element(c.margins.begin(), c.margins.end()))
      c.worstAt = static_cast<double>(st.frame) / kRate;
    c.margins.push_back(margin);
    c.levels.push_back(loudest);
  }
  bool cuesHeard = true;
  std::printf("Cues (loudest 50 ms against the median 50 ms level of the second before):\n");
  std::printf("  %-14s %6s %12s %10s %12s %14s\n", "name", "plays", "min margin", "(at)", "median",
              "median level");
  for (const auto& [name, c] : cues) {
    const double least = *std::min_element(c.margins.begin(), c.margins.end());
    cuesHeard = cuesHeard && least >= kMinMarginDb;
    std::printf("  %-14s %6zu %9.1f dB %8.1f s %9.1f dB %9.1f dBFS%s\n", name.c_str(), c.margins.size(),
                least, c.worstAt, Median(c.margins), Median(c.levels),
                least >= kMinMarginDb ? "" : "  (not above the mix)");
  }
  if (!cut.empty()) {
    std::printf("Cues cut short by leaving the race (not measured):");
    for (const auto& [name, n] : cut) std::printf(" %s %d", name.c_str(), n);
    std::printf("\n");
  }
  const bool pass = fullScale == 0 && cuesHeard;
  std::printf("Verdict: %s\n",
              pass ? "PASS (nothing at full scale; every cue stands above the mix)" : "FAIL");
  return pass ? 0 : 1;
}
