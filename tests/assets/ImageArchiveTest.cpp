// The built image archives, read back through the game's own loader.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "assets/AssetNames.h"
#include "engine/images/Graphics.h"
#include "engine/images/PictureCollection.h"

namespace bd {
namespace {

const std::string kRun = BD_RUN_DIR;

// Both archives, loaded once for every test of this file.
class ImageArchives : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    menu_ = new TPictureCollection;
    race_ = new TPictureCollection;
    menu_->LoadArchive(kRun + "/Data/GraphicsMenu.dxg");
    race_->LoadArchive(kRun + "/Data/GraphicsMain.dxg");
    menu_->Restore();
    race_->Restore();
  }
  static void TearDownTestSuite() {
    delete menu_;
    delete race_;
  }
  static TPictureCollectionItem& Menu(std::string_view n) { return menu_->Find(n); }
  static TPictureCollectionItem& Race(std::string_view n) { return race_->Find(n); }
  static TPictureCollectionItem& Any(std::string_view n) {
    TPictureCollectionItem* it = menu_->FindOrNull(n);
    return it ? *it : race_->Find(n);
  }
  static TPictureCollection* menu_;
  static TPictureCollection* race_;
};
TPictureCollection* ImageArchives::menu_ = nullptr;
TPictureCollection* ImageArchives::race_ = nullptr;

// Relative luminance of a colour 0x00BBGGRR, 0 (black) .. 1 (white).
double Luminance(uint32_t c) {
  auto lin = [](uint32_t v) {
    double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * lin(c & 0xFF) + 0.7152 * lin((c >> 8) & 0xFF) + 0.0722 * lin((c >> 16) & 0xFF);
}

// Mean luminance of the opaque pixels of a rectangle of pattern 0.
double MeanLuminance(const TPictureCollectionItem& it, int x0, int y0, int x1, int y1) {
  double sum = 0;
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      uint32_t c = it.PatternPixel(0, x, y);
      if (it.Transparent() && c == it.TransparentRGB()) continue;
      sum += Luminance(c);
      ++n;
    }
  return n ? sum / n : 0;
}

TEST_F(ImageArchives, EveryNameTheGameAsksForHasAPictureWithPatterns) {
  for (auto [coll, names, file] :
       {std::tuple{menu_, std::span<const TPictureName>(assets::kMenuImages), "menu"},
        std::tuple{race_, std::span<const TPictureName>(assets::kRaceImages), "race"}}) {
    std::set<std::string> expected;
    for (TPictureName picture : names) {
      const std::string_view name = picture.Text();
      expected.insert(std::string(name));
      TPictureCollectionItem* it = coll->FindOrNull(name);
      ASSERT_NE(it, nullptr) << file << ": " << name;
      ASSERT_NE(it->Picture(), nullptr) << name;
      EXPECT_GE(it->PatternTotal(), 1) << name;
    }
    // Nothing in the archive that the game does not ask for.
    for (int i = 0; i < coll->Count(); ++i)
      EXPECT_TRUE(expected.count(coll->Items(i).Name())) << coll->Items(i).Name();
  }
}

TEST_F(ImageArchives, SizesFollowTheScreenLayout) {
  struct Size {
    const char* name;
    int w, h;  // 0: not fixed
    int minPatterns;
  };
  const Size sizes[] = {
      {"Start Game_n", 256, 55, 1},
      {"Options_d", 256, 55, 1},
      {"High Score_n", 256, 45, 1},
      {"High Score_d", 256, 45, 1},
      {"Help_n", 256, 55, 1},
      {"Visit Web Site_d", 256, 55, 1},
      {"Exit_n", 256, 55, 1},
      {"fgg_inactiv", 220, 57, 1},
      {"fgg_active", 220, 57, 1},
      {"menuPodmenu", 475, 457, 1},
      {"Help_prev", 137, 32, 1},
      {"Help_Back_p", 137, 32, 1},
      {"Help_Down", 137, 32, 1},
      {"Options_Country", 204, 33, 1},
      {"Options_Back_n", 137, 32, 1},
      {"HighScore_View_d", 137, 32, 1},
      {"Exit_Main_Yes_d", 147, 57, 1},
      {"Exit_Main_No_d", 147, 57, 1},
      {"Enter_Name_Send", 83, 61, 1},
      {"gameOver", 800, 600, 1},
      {"All_car", 54, 100, 4},
      {"nitroFlames", 54, 0, 1},
      {"cars_ok3", 106, 0, 1},
      {"cars_broken2", 106, 0, 1},
      {"rocks", 100, 0, 1},
      {"propast", 800, 0, 3},
      {"propastPlus", 800, 150, 3},
      {"cr_pr", 800, 0, 1},
      {"zzz", 800, 0, 1},
      {"live", 30, 30, 3},
      {"helth", 40, 40, 3},
      {"guns", 40, 40, 3},
      {"stopMe", 40, 40, 3},
      {"nitro", 40, 40, 3},
      {"bonus", 40, 40, 3},
      {"meteorit", 0, 0, 4},
      {"sledMeteorita", 0, 0, 4},
      {"boom", 0, 0, 6},
      {"pistolet", 0, 0, 3},
  };
  for (const Size& s : sizes) {
    const TPictureCollectionItem& it = Any(s.name);
    if (s.w) {
      EXPECT_EQ(it.Width(), s.w) << s.name;
    }
    if (s.h) {
      EXPECT_EQ(it.Height(), s.h) << s.name;
    }
    EXPECT_GE(it.PatternTotal(), s.minPatterns) << s.name;
  }
  EXPECT_LE(Race("propast").Height(), 140);
  EXPECT_LE(Race("zzz").Height(), 100);
  EXPECT_LT(Race("m_gorod").Width(), 200);
  // The confirmation frame holds both answers (x 188-560, y 195-397 on screen),
  // centred 5 pixels above the middle.
  const TPictureCollectionItem& frame = Menu("Exit_Main");
  int left = 400 - frame.Width() / 2, top = 300 - frame.Height() / 2 - 5;
  EXPECT_LE(left, 188);
  EXPECT_GE(left + frame.Width(), 560);
  EXPECT_LE(top, 195);
  EXPECT_GE(top + frame.Height(), 397);
}

TEST_F(ImageArchives, HighlightsAreSameSizedAndClearlyBrighter) {
  struct Pair {
    const char* lit;
    const char* normal;
    int nx, ny;  // where the normal picture sits inside `normal`
  };
  const Pair pairs[] = {
      {"Start Game_d", "Start Game_n", 0, 0},
      {"Options_d", "Options_n", 0, 0},
      {"High Score_d", "High Score_n", 0, 0},
      {"Help_d", "Help_n", 0, 0},
      {"Visit Web Site_d", "Visit Web Site_n", 0, 0},
      {"Exit_d", "Exit_n", 0, 0},
      {"fgg_active", "fgg_inactiv", 0, 0},
      {"Help_Up", "Help_prev", 0, 0},
      {"Help_Back_p", "Help_back_n", 0, 0},
      {"Help_Back_p", "Options_Back_n", 0, 0},
      {"Help_Down", "Help_next", 0, 0},
      {"HighScore_Clear_d", "HighScore_Clear_n", 0, 0},
      {"HighScore_Back_d", "HighScore_Back_n", 0, 0},
      {"HighScore_View_d", "HighScore_View_n", 0, 0},
      // The answers of the confirmation: screen (240, 340) and (414, 340) on
      // a frame drawn at (180, 165).
      {"Exit_Main_Yes_d", "Exit_Main", 60, 175},
      {"Exit_Main_No_d", "Exit_Main", 234, 175},
  };
  for (const Pair& p : pairs) {
    const TPictureCollectionItem& lit = Menu(p.lit);
    const TPictureCollectionItem& normal = Menu(p.normal);
    if (p.nx == 0 && p.ny == 0) {
      EXPECT_EQ(lit.Width(), normal.Width()) << p.lit;
      EXPECT_EQ(lit.Height(), normal.Height()) << p.lit;
    }
    int differ = 0;
    for (int y = 0; y < lit.Height(); ++y)
      for (int x = 0; x < lit.Width(); ++x) {
        uint32_t a = lit.PatternPixel(0, x, y), b = normal.PatternPixel(0, p.nx + x, p.ny + y);
        if (std::fabs(Luminance(a) - Luminance(b)) > 0.1) ++differ;
      }
    EXPECT_GT(differ, lit.Width() * lit.Height() / 4) << p.lit;
    // The button's face, inside its rim, is brighter when lit.
    const int w = lit.Width(), h = lit.Height(), m = 8;
    EXPECT_GT(MeanLuminance(lit, m, m, w - m, h - m),
              MeanLuminance(normal, p.nx + m, p.ny + m, p.nx + w - m, p.ny + h - m) + 0.1)
        << p.lit;
  }
}

TEST_F(ImageArchives, BlackTextReadsOnRoadAndPanelsAndWhiteOnTheOptionsPanel) {
  auto contrast = [](double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); };
  const TPictureCollectionItem& road = Race("background");
  EXPECT_GT(contrast(MeanLuminance(road, 110, 0, 690, road.Height()), 0), 10);
  EXPECT_GT(contrast(MeanLuminance(road, 0, 0, 90, road.Height()), 0), 10);
  EXPECT_GT(contrast(MeanLuminance(road, 710, 0, 800, road.Height()), 0), 10);
  // The options rows: x 62 on, y 200 on, on the panel drawn at (17, 117).
  const double panel = MeanLuminance(Menu("menuPodmenu"), 40, 60, 440, 400);
  EXPECT_GT(contrast(panel, 0), 4.0);
  EXPECT_GT(contrast(panel, 1), 3.0);
  struct Light {
    const char* name;
    int x0, y0, x1, y1;
  };
  const Light lights[] = {
      {"HighScore_Table_row", 40, 4, 400, 24},  // score rows
      {"gameOver", 220, 210, 580, 236},         // the score at y 210
      {"gameOver", 220, 310, 580, 336},         // the name at y 310
      {"Enter_Name", 130, 55, 310, 82},         // the score at y 210, the panel at (180, 155)
      {"Enter_Name", 40, 157, 400, 184},        // the name field
      {"Options_Country", 4, 4, 200, 29},       // the typed country
  };
  for (const Light& l : lights)
    EXPECT_GT(contrast(MeanLuminance(Menu(l.name), l.x0, l.y0, l.x1, l.y1), 0), 10) << l.name << " " << l.y0;
}

TEST_F(ImageArchives, OptionsPanelIsOnePlainToneForBlackAndWhiteWords) {
  // The option rows stand at x 62 on, y 200 on, on the panel drawn at (17, 117);
  // the chosen word is drawn in white over the black row text. Every pixel
  // there, not only their average, keeps both colours readable.
  const TPictureCollectionItem& panel = Menu("menuPodmenu");
  double darkest = 1, brightest = 0;
  for (int y = 60; y < 400; ++y)
    for (int x = 40; x < 440; ++x) {
      const double l = Luminance(panel.PatternPixel(0, x, y));
      darkest = std::min(darkest, l);
      brightest = std::max(brightest, l);
    }
  EXPECT_GE((darkest + 0.05) / 0.05, 4.2) << "black words on the darkest pixel";
  EXPECT_GE(1.05 / (brightest + 0.05), 4.2) << "white words on the brightest pixel";
}

TEST_F(ImageArchives, RoadTileRepeatsWithoutASeam) {
  // The tile is repeated down the screen. Across the open concrete of the four
  // lanes (between the edge lines and the lane dashes) no pair of neighbouring
  // rows, the last row and the first included, changes much more than a
  // typical pair (short cracks reach about three times as much): a line across
  // the road or a texture that does not wrap shows as a seam while driving.
  const TPictureCollectionItem& road = Race("background");
  const std::pair<int, int> lanes[] = {{115, 240}, {260, 390}, {410, 540}, {560, 685}};
  const int h = road.Height();
  std::vector<double> change(h);
  for (int y = 0; y < h; ++y) {
    double sum = 0;
    int n = 0;
    for (auto [x0, x1] : lanes)
      for (int x = x0; x < x1; ++x, ++n)
        sum += std::fabs(Luminance(road.PatternPixel(0, x, y)) -
                         Luminance(road.PatternPixel(0, x, (y + 1) % h)));
    change[y] = sum / n;
  }
  std::vector<double> sorted = change;
  std::nth_element(sorted.begin(), sorted.begin() + h / 2, sorted.end());
  const double typical = sorted[h / 2];
  for (int y = 0; y < h; ++y) EXPECT_LT(change[y], 4 * typical) << "rows " << y << " and " << (y + 1) % h;
}

TEST_F(ImageArchives, ShouldersStayCalmUnderTheHudTexts) {
  // The head-up texts stand on the left shoulder from x 60 and across the
  // right shoulder from x 700, and the road scrolls under them: in every row
  // of the tile those columns stay light, with no rubble or dark kerb lines.
  const TPictureCollectionItem& road = Race("background");
  for (auto [x0, x1] : {std::pair{60, 100}, std::pair{700, 800}}) {
    double darkest = 1;
    for (int y = 0; y < road.Height(); ++y)
      for (int x = x0; x < x1; ++x) darkest = std::min(darkest, Luminance(road.PatternPixel(0, x, y)));
    EXPECT_GE((darkest + 0.05) / 0.05, 8) << "x " << x0 << " to " << x1;
  }
}

TEST_F(ImageArchives, ChasmHeadAndPiecesAreSolidAndRimmedWithRock) {
  // The first lava piece starts one piece height below the chasm head's top,
  // below the head's last row, so a strip of road shows between the two. No
  // more road shows than that: the head is solid from its broken top edge down
  // and the pieces are solid throughout. The rows on either side of the strip
  // are dark rock, not glowing lava, so it reads as a ledge across the chasm.
  const TPictureCollectionItem& head = Race("propast");
  const TPictureCollectionItem& piece = Race("propastPlus");
  ASSERT_GT(piece.Height(), head.Height());
  const int rim = 4;
  struct Part {
    const TPictureCollectionItem& pic;
    int solidFrom;  // the head's broken top edge lies in its top third
    int rimFrom;    // the rows next to the strip of road
  };
  double brightest = 0;
  for (const Part& part : {Part{head, head.Height() / 3, head.Height() - rim}, Part{piece, 0, 0}}) {
    const TPictureCollectionItem& it = part.pic;
    for (int p = 0; p < it.PatternTotal(); ++p)
      for (int x = 0; x < it.Width(); ++x) {
        for (int y = part.solidFrom; y < it.Height(); ++y)
          if (it.Transparent() && it.PatternPixel(p, x, y) == it.TransparentRGB()) {
            ADD_FAILURE() << "hole in " << it.Name() << ", pattern " << p << " at " << x << ", " << y;
            break;
          }
        for (int y = part.rimFrom; y < part.rimFrom + rim; ++y)
          brightest = std::max(brightest, Luminance(it.PatternPixel(p, x, y)));
      }
  }
  EXPECT_LT(brightest, 0.3);
}

TEST_F(ImageArchives, ColourKeyedEdgesHaveNoKeyColouredFringe) {
  for (TPictureCollection* coll : {menu_, race_}) {
    for (int i = 0; i < coll->Count(); ++i) {
      const TPictureCollectionItem& it = coll->Items(i);
      if (!it.Transparent()) continue;
      const uint32_t key = it.TransparentRGB();
      int fringe = 0;
      for (int p = 0; p < it.PatternTotal(); ++p)
        for (int y = 0; y < it.Height(); ++y)
          for (int x = 0; x < it.Width(); ++x) {
            uint32_t c = it.PatternPixel(p, x, y);
            int dr = int(c & 0xFF) - int(key & 0xFF), dg = int((c >> 8) & 0xFF) - int((key >> 8) & 0xFF),
                db = int((c >> 16) & 0xFF) - int((key >> 16) & 0xFF);
            if (c != key && dr * dr + dg * dg + db * db < 80 * 80) ++fringe;
          }
      EXPECT_EQ(fringe, 0) << it.Name();
    }
  }
  // The bands beyond the screen's edges are invisible.
  for (const char* name : {"cr_pr", "zzz"}) {
    const TPictureCollectionItem& it = Race(name);
    ASSERT_TRUE(it.Transparent());
    for (int y = 0; y < it.Height(); ++y)
      for (int x = 0; x < it.Width(); ++x) ASSERT_EQ(it.PatternPixel(0, x, y), it.TransparentRGB()) << name;
  }
}

TEST_F(ImageArchives, AnimationFramesMove) {
  for (TPictureCollection* coll : {menu_, race_}) {
    for (int i = 0; i < coll->Count(); ++i) {
      const TPictureCollectionItem& it = coll->Items(i);
      for (int p = 0; p + 1 < it.PatternTotal(); ++p) {
        int differ = 0;
        for (int y = 0; y < it.Height(); ++y)
          for (int x = 0; x < it.Width(); ++x)
            differ += it.PatternPixel(p, x, y) != it.PatternPixel(p + 1, x, y);
        EXPECT_GT(differ, it.Width() * it.Height() / 100) << it.Name() << " frame " << p;
      }
    }
  }
}

TEST_F(ImageArchives, PicturesUseEveryEncodingTheReaderKnows) {
  std::set<std::string> seen;
  for (TPictureCollection* coll : {menu_, race_})
    for (int i = 0; i < coll->Count(); ++i) {
      const TGraphic* g = coll->Items(i).Picture();
      seen.insert(std::string(g->ClassName()) + "/" + std::to_string(g->BitCount()));
    }
  for (const char* kind : {"TDIB/8", "TDIB/24", "TDIB/32", "TBitmap/24", "TJPEGImage/24"})
    EXPECT_TRUE(seen.count(kind)) << kind;
  // Large photographic backdrops are JPEG and drawn without a key.
  for (const char* name : {"mySplash_fon", "menu", "gameOver"}) {
    EXPECT_STREQ(Menu(name).Picture()->ClassName(), "TJPEGImage") << name;
    EXPECT_FALSE(Menu(name).Transparent()) << name;
  }
}

}  // namespace
}  // namespace bd
