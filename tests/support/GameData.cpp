#include "support/GameData.h"

#include "common/ArchiveWriter.h"
#include "engine/images/Dib.h"
#include "support/SoundFixtures.h"

namespace bd::test {

const std::vector<TStandInImage>& MenuImages() {
  static const std::vector<TStandInImage> images = [] {
    std::vector<TStandInImage> v = {
        {"mySplash_fon", 800, 600},
        {"logo_loading", 520, 260},
        {"menu", 800, 600},
        {"fgg_inactiv", 220, 57},
        {"fgg_active", 220, 57},
        {"menuPodmenu", 475, 457},
        {"Help_prev", 137, 32},
        {"Help_Up", 137, 32},
        {"Help_back_n", 137, 32},
        {"Help_Back_p", 137, 32},
        {"Help_next", 137, 32},
        {"Help_Down", 137, 32},
        {"rabbit", 130, 120},
        {"Options_Country", 204, 33},
        {"Options_Back_n", 137, 32},
        {"HighScore_head", 430, 28},
        {"HighScore_Table_row", 430, 28},
        {"Exit_Main", 440, 260},
        {"Exit_Main_Word", 424, 120},
        {"HighScore_Clear_Word", 424, 120},
        {"Exit_Main_Yes_d", 147, 57},
        {"Exit_Main_No_d", 147, 57},
        {"Enter_Name", 440, 290},
        {"Enter_Name_Send", 83, 61},
        {"gameOver", 800, 600},
        {"palka", 2, 16},
    };
    // Menu items come as a normal and a highlighted picture.
    const std::vector<TStandInImage> pairs = {
        {"Start Game", 256, 55},      {"Options", 256, 55},
        {"High Score", 256, 45},      {"Help", 256, 55},
        {"Visit Web Site", 256, 55},  {"Exit", 256, 55},
        {"HighScore_Clear", 137, 32}, {"HighScore_Back", 137, 32},
        {"HighScore_View", 137, 32},
    };
    for (const auto& p : pairs)
      for (const char* suffix : {"_n", "_d"}) v.push_back({p.Name + suffix, p.Width, p.Height});
    return v;
  }();
  return images;
}

const std::vector<TStandInImage>& RaceImages() {
  static const std::vector<TStandInImage> images = [] {
    std::vector<TStandInImage> v = {
        {"background", 800, 200},
        {"All_car", 54, 100, 4},
        {"bulet", 8, 20},
        {"pistolet", 16, 40, 4},
        {"nitroFlames", 54, 40},
        {"stolb", 240, 60},
        {"tree", 300, 100},
        {"rocks", 100, 120},
        {"luja", 140, 70},
        {"lujaUje", 130, 80},
        {"propast", 800, 140, 4},
        {"propastPlus", 800, 150, 4},
        {"cr_pr", 800, 100, 1, true},
        {"zzz", 800, 100, 1, true},
        {"meteorit", 40, 64, 6},
        {"sledMeteorita", 80, 140, 6},
        {"boom", 96, 96, 8},
        {"live", 30, 30, 4},
        {"helth", 40, 40, 4},
        {"guns", 40, 40, 4},
        {"stopMe", 40, 40, 4},
        {"nitro", 40, 40, 4},
        {"bonus", 40, 40, 4},
        {"m_helth", 70, 70},
        {"m_speed", 60, 60},
        {"m_lives", 60, 60},
        {"m_gorod", 70, 60},
        // The exit confirmation opens over the race as well.
        {"Exit_Main", 440, 260},
        {"Exit_Main_Word", 424, 120},
        {"Exit_Main_Yes_d", 147, 57},
        {"Exit_Main_No_d", 147, 57},
    };
    for (int k = 1; k <= 4; ++k) {
      v.push_back({"cars_ok" + std::to_string(k), 106, 56});
      v.push_back({"cars_broken" + std::to_string(k), 106, 56});
    }
    return v;
  }();
  return images;
}

const std::vector<std::string>& SoundNames() {
  static const std::vector<std::string> names = {
      "button_up", "button_down",  "pause",   "after_pause", "back1", "forward1", "forward2",
      "applaus",   "viva",         "ruchnik", "ruchnik2",    "shoot", "luja",     "boom_stena",
      "boom",      "meteorCreate", "live",    "bell",        "beep"};
  return names;
}

uint32_t StandInColor(const std::string& name) {
  uint32_t h = 2166136261u;
  for (unsigned char c : name) h = (h ^ c) * 16777619u;
  // Light colours, every channel between 0x80 and 0xEF: never mistaken for
  // black text, white or the magenta key.
  const auto channel = [](uint32_t v) { return 0x80 + (v & 0xFF) % 0x70; };
  return channel(h) | channel(h >> 8) << 8 | channel(h >> 16) << 16;
}

namespace {

std::vector<uint8_t> ImageArchive(const std::vector<TStandInImage>& images) {
  TImageArchive archive;
  for (const TStandInImage& image : images) {
    TPixels pixels;
    pixels.Width = image.Width * image.Patterns;
    pixels.Height = image.Height;
    pixels.Colors.assign(static_cast<size_t>(pixels.Width) * static_cast<size_t>(pixels.Height),
                         image.Invisible ? StandInKeyColor : StandInColor(image.Name));
    TImageArchiveItem item;
    item.Name = image.Name;
    if (image.Patterns > 1) {
      item.PatternWidth = image.Width;
      item.PatternHeight = image.Height;
    }
    item.Transparent = true;
    item.TransparentColor = StandInKeyColor;
    TDibOptions options;
    options.Format = TDibFormat::Pal8Rle;
    item.Picture = TPictureData::Dib(EncodeDib(pixels, options));
    archive.Items.push_back(std::move(item));
  }
  return WriteImageArchive(archive);
}

}  // namespace

void WriteStandInGameData(const std::filesystem::path& dir) {
  const std::filesystem::path data = dir / "Data";
  std::filesystem::create_directories(data);
  WriteFile((data / "GraphicsMenu.dxg").string(), ImageArchive(MenuImages()));
  WriteFile((data / "GraphicsMain.dxg").string(), ImageArchive(RaceImages()));
  std::vector<TSoundArchiveItem> sounds;
  for (const std::string& name : SoundNames())
    sounds.push_back({name, false, 4, SquareWave(1, 11025, 8, 200)});
  WriteFile((data / "Sound.dxw").string(), WriteSoundArchive(sounds));
}

}  // namespace bd::test
