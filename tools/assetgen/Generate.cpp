#include "Generate.h"

#include <fstream>
#include <iterator>

#include "Archives.h"
#include "ContactSheet.h"
#include "GamePage.h"
#include "Songs.h"
#include "Web.h"
#include "assets/AssetNames.h"

namespace bd::art {

namespace {

bool SameContent(const std::filesystem::path& p, const std::vector<uint8_t>& bytes) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return false;
  std::vector<uint8_t> old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return old == bytes;
}

// Writes through a temporary file and a rename, so the game never sees half a file.
bool WriteFile(const std::filesystem::path& p, const std::vector<uint8_t>& bytes) {
  if (SameContent(p, bytes)) return true;
  std::error_code ec;
  std::filesystem::create_directories(p.parent_path(), ec);
  std::filesystem::path tmp = p;
  tmp += ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) return false;
  }
  std::filesystem::rename(tmp, p, ec);
  return !ec;
}

// The race pictures, plus those of the exit confirmation, which the race
// shows as well while only the race archive is loaded.
std::vector<ArtItem> RaceArchiveArt() {
  std::vector<ArtItem> race = MakeRaceArt();
  for (ArtItem& item : MakeMenuArt()) {
    if (item.name == pic::QuestionFrame.Text() || item.name == pic::ExitQuestion.Text() ||
        item.name == pic::YesHover.Text() || item.name == pic::NoHover.Text())
      race.push_back(std::move(item));
  }
  return race;
}

}  // namespace

std::vector<OutputFile> MakeGameData(std::string_view scoreServer) {
  std::vector<OutputFile> files;
  files.push_back({"Data/GraphicsMenu.dxg", BuildImageArchive(MakeMenuArt())});
  files.push_back({"Data/GraphicsMain.dxg", BuildImageArchive(RaceArchiveArt())});
  files.push_back({"Data/Sound.dxw", BuildSoundArchive(synth::MakeSounds())});
  for (const xm::Song& s : xm::MakeSongs()) files.push_back({"Music/" + s.name + ".xm", s.bytes});
  for (OutputFile& f : MakeExitScreen()) files.push_back(std::move(f));
  for (OutputFile& f : MakeGamePage(scoreServer)) files.push_back(std::move(f));
  for (OutputFile& f : MakeWebFiles()) files.push_back(std::move(f));
  return files;
}

std::string Generate(const std::filesystem::path& runDir, std::string_view scoreServer,
                     const std::filesystem::path& sheet) {
  for (const OutputFile& f : MakeGameData(scoreServer)) {
    if (!WriteFile(runDir / f.path, f.bytes)) return "cannot write " + (runDir / f.path).string();
  }
  if (!sheet.empty()) {
    std::vector<ArtItem> menu = MakeMenuArt(), race = MakeRaceArt();
    std::vector<const ArtItem*> all;
    for (const ArtItem& it : menu) all.push_back(&it);
    for (const ArtItem& it : race) all.push_back(&it);
    std::error_code ec;
    std::filesystem::create_directories(sheet.parent_path(), ec);
    if (!WriteContactSheet(sheet.string(), all)) return "cannot write " + sheet.string();
  }
  return {};
}

}  // namespace bd::art
