#include "DxgTool.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <sstream>

#include "engine/archive/ArchiveReader.h"
#include "engine/images/Colors.h"
#include "codec/Cp1251.h"
#include "engine/archive/NameIndex.h"
#include "engine/images/PictureCollection.h"
#include "common/Png.h"
#include "engine/sound/Wave.h"

namespace bd {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr const char* kUsage =
    "usage: dxgtool list FILE\n"
    "       dxgtool extract FILE DIR\n"
    "       dxgtool check FILE\n";

// --- Sound archives, read into plain records ---

struct Sound {
  std::string name;
  bool looped = false;
  int32_t maxPlayingCount = 0;
  TWave wave;
};

class SoundItem : public IArchiveObject {
 public:
  explicit SoundItem(Sound& s) : s_(s), waveProperty_(s) {}
  bool ReadProperty(std::string_view name, TArchiveReader& r) override {
    if (SameText(name, "Name"))
      s_.name = r.ReadString();
    else if (SameText(name, "Looped"))
      s_.looped = r.ReadBoolean();
    else if (SameText(name, "MaxPlayingCount"))
      s_.maxPlayingCount = std::max(0, r.ReadInteger());
    else
      return false;
    return true;
  }
  IArchiveObject* ObjectProperty(std::string_view name) override {
    return SameText(name, "Wave") ? &waveProperty_ : nullptr;
  }
  bool HasProperty(std::string_view name) override {
    return SameText(name, "Name") || SameText(name, "Looped") || SameText(name, "MaxPlayingCount") ||
           SameText(name, "Wave");
  }

 private:
  class WaveProperty : public IArchiveObject {
   public:
    explicit WaveProperty(Sound& s) : s_(s) {}
    bool ReadProperty(std::string_view name, TArchiveReader& r) override {
      if (!SameText(name, "WAVE")) return false;
      const auto bytes = r.ReadBinary();
      s_.wave.LoadFromBytes(bytes.data(), bytes.size());
      return true;
    }
    bool HasProperty(std::string_view name) override { return SameText(name, "WAVE"); }

   private:
    Sound& s_;
  };
  Sound& s_;
  WaveProperty waveProperty_;
};

class SoundRoot : public IArchiveObject {
 public:
  std::vector<std::unique_ptr<Sound>> sounds;
  std::vector<std::unique_ptr<SoundItem>> items;

  bool ReadProperty(std::string_view name, TArchiveReader& r) override {
    if (!SameText(name, "List")) return false;
    r.ReadCollection(
        [this]() -> IArchiveObject& {
          sounds.push_back(std::make_unique<Sound>());
          items.push_back(std::make_unique<SoundItem>(*sounds.back()));
          return *items.back();
        },
        [this] {
          items.clear();
          sounds.clear();
        });
    return true;
  }
  bool HasProperty(std::string_view name) override { return SameText(name, "List"); }
};

// --- Helpers ---

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EFOpenError(Format("Cannot open file \"%s\". %s", path.c_str(), std::strerror(errno)));
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool IsSoundArchive(const Bytes& data) {
  return SameText(TArchiveReader::RootClassName(data), "TWaveCollectionComponent");
}

std::string ColorText(uint32_t color) {
  if (auto ident = ColorToIdent(color)) return *ident;
  std::ostringstream s;
  s << "0x" << std::hex << std::uppercase << std::setfill('0') << std::setw(color > 0xFFFFFF ? 8 : 6)
    << color;
  return s.str();
}

std::string WaveText(const TWave& wave) {
  const TWaveFormat f = wave.Format();
  std::ostringstream s;
  if (wave.FormatRecord().empty()) {
    s << "no format";
  } else {
    s << (f.FormatTag == 1   ? "PCM"
          : f.FormatTag == 3 ? "float"
                             : "format " + std::to_string(f.FormatTag))
      << ' ' << f.BitsPerSample << "-bit "
      << (f.Channels == 1   ? "mono"
          : f.Channels == 2 ? "stereo"
                            : std::to_string(f.Channels) + " channels")
      << ' ' << f.SamplesPerSec << " Hz";
  }
  s << ", " << wave.Size() << " bytes";
  if (f.AvgBytesPerSec > 0)
    s << " (" << std::fixed << std::setprecision(3) << static_cast<double>(wave.Size()) / f.AvgBytesPerSec
      << " s)";
  return s.str();
}

// The recording as a wave file again: its format record and samples as stored.
Bytes WaveFile(const TWave& wave) {
  Bytes out;
  auto tag = [&out](const char* t) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(t[i]));
  };
  auto put32 = [&out](size_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  const auto& fmt = wave.FormatRecord();
  tag("RIFF");
  put32(4 + 8 + fmt.size() + (fmt.size() & 1) + 8 + wave.Size());
  tag("WAVE");
  tag("fmt ");
  put32(fmt.size());
  out.insert(out.end(), fmt.begin(), fmt.end());
  if (fmt.size() & 1) out.push_back(0);
  tag("data");
  put32(wave.Size());
  out.insert(out.end(), wave.Data(), wave.Data() + wave.Size());
  return out;
}

// A file name for an item: its name in UTF-8, with path separators and
// control characters replaced so nothing lands outside the target folder.
std::string SafeName(const std::string& cp1251Name) {
  std::string name = Cp1251ToUtf8(cp1251Name);
  for (char& c : name)
    if (c == '/' || c == '\\' || (static_cast<unsigned char>(c) < 32)) c = '_';
  if (name.empty() || name[0] == '.') name = "_" + name;
  return name;
}

// Hands out NAME.EXT, then NAME-2.EXT, NAME-3.EXT ... for names used before
// (ignoring case, so the files also differ on case-insensitive disks).
class FileNamer {
 public:
  std::string Next(const std::string& cp1251Name, const std::string& ext) {
    const std::string base = SafeName(cp1251Name);
    for (int n = 1;; ++n) {
      const std::string candidate = n == 1 ? base : base + "-" + std::to_string(n);
      if (used_.insert(AnsiLowerCase(candidate)).second) return candidate + ext;
    }
  }

 private:
  std::set<std::string> used_;
};

void WriteFile(const std::filesystem::path& path, const Bytes& data) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// --- Commands ---

void ListImages(TPictureCollection& list, std::ostream& out) {
  for (int32_t i = 0; i < list.Count(); ++i) {
    auto& item = list.Items(i);
    const TGraphic* pic = item.Picture();
    out << Cp1251ToUtf8(item.Name()) << '\t' << (pic ? pic->ClassName() : "(no picture)") << '\t'
        << (pic ? pic->Width() : 0) << 'x' << (pic ? pic->Height() : 0) << '\t' << item.PatternTotal()
        << (item.PatternTotal() == 1 ? " pattern " : " patterns ") << item.Width() << 'x' << item.Height()
        << '\t' << (item.Transparent() ? "transparent " : "opaque, key ")
        << ColorText(item.TransparentColor()) << '\n';
  }
}

void ListSounds(const SoundRoot& root, std::ostream& out) {
  for (const auto& s : root.sounds) {
    out << Cp1251ToUtf8(s->name) << "\twave\t" << WaveText(s->wave) << '\t' << (s->looped ? "looped" : "once")
        << '\t'
        << (s->maxPlayingCount ? "at most " + std::to_string(s->maxPlayingCount) + " at once" : "no limit")
        << '\n';
  }
}

void LoadImages(const Bytes& data, TPictureCollection& list) {
  list.Initialize(nullptr);  // builds the pattern grids as the loaded game would
  list.LoadFromMemory(data);
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string& command = args[0];
  const Bytes data = ReadFile(args[1]);
  const bool sounds = IsSoundArchive(data);
  TPictureCollection images;
  SoundRoot soundRoot;
  if (sounds)
    TArchiveReader(data).ReadRoot(soundRoot);
  else
    LoadImages(data, images);

  if (command == "check") {
    out << args[1] << ": " << (sounds ? soundRoot.sounds.size() : static_cast<size_t>(images.Count()))
        << (sounds ? " sounds" : " images") << ", OK\n";
    return 0;
  }
  if (command == "list") {
    if (sounds)
      ListSounds(soundRoot, out);
    else
      ListImages(images, out);
    return 0;
  }
  // extract
  const std::filesystem::path dir = args[2];
  std::filesystem::create_directories(dir);
  FileNamer namer;
  if (sounds) {
    for (const auto& s : soundRoot.sounds) {
      const std::string file = namer.Next(s->name, ".wav");
      WriteFile(dir / file, WaveFile(s->wave));
      out << file << '\n';
    }
  } else {
    for (int32_t i = 0; i < images.Count(); ++i) {
      const auto& item = images.Items(i);
      const TGraphic* pic = item.Picture();
      if (!pic || pic->Empty()) {
        err << Cp1251ToUtf8(item.Name()) << ": no picture, skipped\n";
        continue;
      }
      const std::string file = namer.Next(item.Name(), ".png");
      WriteFile(dir / file, EncodePng(pic->Width(), pic->Height(), pic->Pixels()));
      out << file << '\n';
    }
  }
  return 0;
}

}  // namespace

int RunDxgTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const bool ok = !args.empty() && (((args[0] == "list" || args[0] == "check") && args.size() == 2) ||
                                    (args[0] == "extract" && args.size() == 3));
  if (!ok) {
    err << kUsage;
    return 2;
  }
  try {
    return Run(args, out, err);
  } catch (const std::exception& e) {
    err << args[1] << ": " << e.what() << '\n';
    return 1;
  }
}

}  // namespace bd
