#include "Songs.h"

#include <sstream>

#include "Instruments.h"
#include "assets/AssetNames.h"

namespace bd::xm {

namespace {

// Channel layout shared by all songs.
enum Channel {
  kChKick,
  kChSnare,
  kChHat,
  kChBass,
  kChLead,
  kChPad1,
  kChPad2,
  kChPad3,
  kChArp,
  kChFx,
  kChannels
};

struct Chord {
  int root;  // pitch class, C = 0
  bool minor;
  bool seventh = false;
};

Chord ParseChord(const std::string& s) {
  static const int base[] = {9, 11, 0, 2, 4, 5, 7};
  Chord c{base[s[0] - 'A'], false};
  size_t i = 1;
  if (i < s.size() && s[i] == '#') {
    c.root = (c.root + 1) % 12;
    ++i;
  }
  if (i < s.size() && s[i] == 'm') {
    c.minor = true;
    ++i;
  }
  if (i < s.size() && s[i] == '7') c.seventh = true;
  return c;
}

// XM note of a pitch class in an octave (C-4 = 49).
uint8_t Pitch(int pitchClass, int octave) { return static_cast<uint8_t>(1 + octave * 12 + pitchClass); }

void Put(Pattern& p, int row, int ch, uint8_t note, int inst, int vol = -1) {
  if (row < 0 || row >= p.rows) return;
  Cell& c = p.At(row, ch);
  c.note = note;
  c.instrument = static_cast<uint8_t>(inst);
  if (vol >= 0) c.volume = static_cast<uint8_t>(0x10 + vol);
}

void KeyOff(Pattern& p, int row, int ch) {
  if (row >= 0 && row < p.rows) p.At(row, ch).note = 97;
}

// A melody written as tokens, each `step` rows long: a note name starts a
// note, "-" holds it, "." releases it; "|" is only for reading.
void Melody(Pattern& p, int ch, int inst, const std::string& text, int step, int vol = -1) {
  std::istringstream in(text);
  std::string tok;
  int row = 0;
  while (in >> tok) {
    if (tok == "|") continue;
    if (tok == ".") {
      KeyOff(p, row, ch);
    } else if (tok != "-") {
      Put(p, row, ch, NoteNumber(tok), inst, vol);
    }
    row += step;
  }
}

struct Style {
  bool pad = true;
  int arp = 0;    // 0 none, 1 up-down eighths, 2 sixteenths
  int bass = 1;   // 0 none, 1 roots on beats, 2 driving eighths with octaves, 3 long notes
  int drums = 1;  // 0 none, 1 pop beat, 2 driving beat, 3 half-time
  int padOctave = 4;
  bool crashAtStart = false;
  bool fill = false;  // a snare roll over the last half bar leads into the next part
};

// Fills a pattern from a chord per `rowsPerChord` rows in the given style.
void Accompany(Pattern& p, const std::vector<std::string>& chords, int rowsPerChord, const Style& s) {
  for (size_t k = 0; k < chords.size(); ++k) {
    Chord c = ParseChord(chords[k]);
    int third = (c.root + (c.minor ? 3 : 4)) % 12, fifth = (c.root + 7) % 12;
    int r0 = static_cast<int>(k) * rowsPerChord;
    if (s.pad) {
      // Voice the triad close together above the pad octave's C.
      int o = s.padOctave;
      Put(p, r0, kChPad1, Pitch(c.root, o), kPad);
      Put(p, r0, kChPad2, Pitch(third, third < c.root ? o + 1 : o), kPad);
      int top = c.seventh ? (c.root + 10) % 12 : fifth;
      Put(p, r0, kChPad3, Pitch(top, top < c.root ? o + 1 : o), kPad);
    }
    if (s.arp) {
      int tones[] = {c.root, third, fifth, c.root};
      int octs[] = {5, third < c.root ? 6 : 5, fifth < c.root ? 6 : 5, 6};
      int step = s.arp == 1 ? 2 : 1;
      static const int order[] = {0, 1, 2, 3, 2, 1, 2, 1};
      for (int r = 0, i = 0; r < rowsPerChord; r += step, ++i) {
        int j = order[i % 8];
        Put(p, r0 + r, kChArp, Pitch(tones[j], octs[j] - (s.arp == 2 ? 1 : 0)), kPluck,
            (i % 4 == 0) ? 40 : 26);
      }
    }
    switch (s.bass) {
      case 1:
        for (int r = 0; r < rowsPerChord; r += 4) {
          bool up = (r / 4) % 4 == 3;
          Put(p, r0 + r, kChBass, Pitch(up ? fifth : c.root, up && fifth < c.root ? 3 : 2), kBass);
          KeyOff(p, r0 + r + 3, kChBass);
        }
        break;
      case 2:
        for (int r = 0; r < rowsPerChord; r += 2) {
          bool octave = (r / 2) % 2 == 1;
          Put(p, r0 + r, kChBass, Pitch(c.root, octave ? 3 : 2), kBass, octave ? 44 : 60);
        }
        break;
      case 3:
        Put(p, r0, kChBass, Pitch(c.root, 2), kBass);
        Put(p, r0 + rowsPerChord / 2 + rowsPerChord / 4, kChBass, Pitch(fifth, fifth < c.root ? 3 : 2), kBass,
            40);
        break;
      default:
        break;
    }
    for (int r = 0; r < rowsPerChord; ++r) {
      int row = r0 + r;
      int inBar = row % 16;
      switch (s.drums) {
        case 1:
          if (inBar == 0 || inBar == 10) Put(p, row, kChKick, Pitch(0, 4), kKick);
          if (inBar == 4 || inBar == 12) Put(p, row, kChSnare, Pitch(0, 4), kSnare);
          if (inBar % 2 == 0) Put(p, row, kChHat, Pitch(0, 4), kHat, inBar % 4 == 2 ? 40 : 26);
          break;
        case 2:
          if (inBar % 4 == 0 || inBar == 14) Put(p, row, kChKick, Pitch(0, 4), kKick);
          if (inBar == 4 || inBar == 12) Put(p, row, kChSnare, Pitch(0, 4), kSnare);
          Put(p, row, kChHat, Pitch(0, 4), kHat, inBar % 2 == 0 ? 40 : 20);
          break;
        case 3:
          if (inBar == 0) Put(p, row, kChKick, Pitch(0, 4), kKick, 40);
          if (inBar == 8) Put(p, row, kChSnare, Pitch(0, 4), kSnare, 28);
          break;
        default:
          break;
      }
    }
  }
  if (s.crashAtStart) Put(p, 0, kChFx, Pitch(0, 4), kCrash);
  if (s.fill) {
    const int last = p.rows - 8;
    for (int r = last; r < p.rows; ++r) p.At(r, kChHat) = Cell{};
    const int rolls[] = {0, 2, 4, 5, 6, 7};
    for (int i = 0; i < 6; ++i) Put(p, last + rolls[i], kChSnare, Pitch(0, 4), kSnare, 28 + i * 7);
    Put(p, last, kChKick, Pitch(0, 4), kKick);
  }
}

Pattern Make(const std::vector<std::string>& chords, const Style& s, const std::string& melody = "",
             int step = 2) {
  Pattern p(64, kChannels);
  Accompany(p, chords, 64 / static_cast<int>(chords.size()), s);
  if (!melody.empty()) Melody(p, kChLead, kLead, melody, step);
  return p;
}

Module Base(const char* name, int speed, int tempo) {
  Module m;
  m.name = name;
  m.channels = kChannels;
  m.speed = speed;
  m.tempo = tempo;
  m.instruments = MakeInstruments();
  return m;
}

// Menu: C major, sunny pop. Seven patterns, ten order positions, about 77 s.
Module MenuSong() {
  Module m = Base("Bumper Dash menu", 6, 125);
  const std::vector<std::string> pop = {"C", "G", "Am", "F"};
  const std::vector<std::string> alt = {"Am", "F", "C", "G"};
  Style intro;
  intro.arp = 1;
  intro.bass = 3;
  intro.drums = 0;
  intro.crashAtStart = true;
  Style verse;
  verse.arp = 1;
  Style verseEnd = verse;
  verseEnd.fill = true;
  Style chorus;
  chorus.arp = 2;
  chorus.crashAtStart = true;
  m.patterns.push_back(Make(pop, intro));
  m.patterns.push_back(Make(pop, verse,
                            "E5 - G5 - C6 - G5 - | D5 - G5 - B5 - A5 G5 | "
                            "A5 - E5 - C5 - E5 A5 | G5 - F5 - E5 - D5 -"));
  m.patterns.push_back(Make(pop, verseEnd,
                            "E5 - G5 - C6 - D6 C6 | B5 - G5 - D5 - G5 - | "
                            "C6 - B5 A5 E5 - A5 B5 | C6 - - - - - . -"));
  m.patterns.push_back(Make(alt, chorus,
                            "A5 - C6 - E6 - D6 C6 | A5 - - F5 A5 - C6 - | "
                            "G5 - E5 - C6 - E6 - | D6 - C6 - B5 - G5 -"));
  m.patterns.push_back(Make(alt, chorus,
                            "A5 - C6 - E6 - G6 E6 | F6 - E6 - C6 - A5 - | "
                            "G5 - C6 - E6 - D6 C6 | B5 - - - D6 - . -"));
  Style bridge;
  bridge.arp = 1;
  bridge.drums = 3;
  bridge.bass = 3;
  bridge.fill = true;
  m.patterns.push_back(Make({"F", "G", "Em", "Am"}, bridge,
                            "A5 - - - C6 - - - | B5 - - - D6 - - - | "
                            "G5 - - - B5 - - - | C6 - - - E6 - . -"));
  Style outro = intro;
  m.patterns.push_back(
      Make({"F", "G", "C", "C"}, outro,
           "C6 - A5 - F5 - A5 - | B5 - D6 - G5 - B5 - | C6 - - - - - - - | . - - - - - - -"));
  m.order = {0, 1, 2, 3, 4, 5, 1, 2, 4, 6};
  return m;
}

// Race: A minor, fast and driving. Nine patterns, fifteen order positions, about 103 s.
Module MainSong() {
  Module m = Base("Bumper Dash race", 6, 140);
  const std::vector<std::string> run = {"Am", "F", "C", "G"};
  const std::vector<std::string> climb = {"Am", "G", "F", "E"};
  Style groove;
  groove.bass = 2;
  groove.drums = 2;
  groove.pad = false;
  groove.crashAtStart = true;
  Style full = groove;
  full.pad = true;
  full.padOctave = 3;
  Style drive = full;
  drive.arp = 2;
  m.patterns.push_back(Make(run, groove));  // 0 intro: drums and bass
  m.patterns.push_back(Make(run, full,      // 1 theme
                            "A4 - C5 E5 - - D5 C5 | A4 - - - F4 - A4 - | "
                            "G4 - C5 - E5 - G5 - | G5 - F5 E5 D5 - B4 -"));
  Style fullEnd = full;
  fullEnd.fill = true;
  m.patterns.push_back(Make(climb, fullEnd,  // 2 theme answer
                            "A4 - C5 E5 - - A5 - | G5 - - - D5 - B4 - | "
                            "C5 - F5 - A5 - G5 F5 | E5 - - - G#5 - B5 -"));
  m.patterns.push_back(Make(run, drive,  // 3 chorus
                            "A5 - - - E5 - A5 - | C6 - - - A5 - F5 - | "
                            "G5 - - - E5 - C5 - | D5 - E5 - G5 - B5 -"));
  m.patterns.push_back(Make(climb, drive,  // 4 chorus end
                            "C6 - - - B5 - A5 - | B5 - - - G5 - D5 - | "
                            "C5 - D5 - F5 - A5 - | G#5 - - - E5 - . -"));
  Style breakdown;
  breakdown.bass = 3;
  breakdown.drums = 3;
  breakdown.arp = 1;
  breakdown.padOctave = 3;
  m.patterns.push_back(Make({"F", "G", "Am", "Am"}, breakdown,  // 5 breakdown
                            "A4 - - - C5 - - - | B4 - - - D5 - - - | E5 - - - - - - - | . - - - - - - -"));
  Style buildUp = breakdown;
  buildUp.drums = 1;
  buildUp.fill = true;
  m.patterns.push_back(
      Make({"F", "G", "E", "E"}, buildUp,  // 6 build-up
           "C5 - - - A4 - - - | D5 - - - B4 - - - | G#4 - B4 - E5 - G#5 - | B5 - - - . - - -"));
  Style solo = drive;
  solo.arp = 1;
  m.patterns.push_back(Make(run, solo,  // 7 lead in sixteenths
                            "A5 C6 E6 C6 A5 E5 C5 E5 A5 C6 E6 C6 A5 E5 C5 E5 | "
                            "A5 C6 F6 C6 A5 F5 C5 F5 A5 C6 F6 C6 A5 F5 C5 F5 | "
                            "G5 C6 E6 C6 G5 E5 C5 E5 G5 C6 E6 C6 G5 E5 C5 E5 | "
                            "G5 B5 D6 B5 G5 D5 B4 D5 G5 B5 D6 B5 D6 - . -",
                            1));
  m.patterns.push_back(Make(climb, drive,  // 8 final
                            "A5 - - - E6 - - - | D6 - - - B5 - - - | "
                            "C6 - - - A5 - F5 - | E5 - - - - - . -"));
  m.order = {0, 1, 2, 3, 4, 1, 2, 5, 6, 7, 3, 4, 1, 2, 8};
  return m;
}

// Game over: A minor, slow and sad. Two patterns, two order positions, about 25 s.
Module GameOverSong() {
  Module m = Base("Bumper Dash game over", 6, 80);
  Style sad;
  sad.bass = 3;
  sad.drums = 0;
  sad.arp = 1;
  sad.padOctave = 3;
  m.patterns.push_back(Make({"Am", "Dm", "E", "Am"}, sad,
                            "E5 - - - D5 C5 B4 - | A4 - - - F4 - A4 - | "
                            "G#4 - - - B4 - D5 - | C5 - - - - - . -"));
  m.patterns.push_back(Make({"F", "Dm", "E7", "Am"}, sad,
                            "C5 - - - A4 - F4 - | F4 - E4 - D4 - F4 - | "
                            "E4 - - - G#4 - B4 - | A4 - - - - - - ."));
  m.order = {0, 1};
  return m;
}

}  // namespace

std::vector<Song> MakeSongs() {
  return {{std::string(song::Menu.Text()), Write(MenuSong())},
          {std::string(song::Race.Text()), Write(MainSong())},
          {std::string(song::GameOver.Text()), Write(GameOverSong())}};
}

}  // namespace bd::xm
