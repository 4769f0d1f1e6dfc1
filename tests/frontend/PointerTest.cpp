// The pointer on the menu screens: hover sounds, highlights, the areas that
// differ between screens, help pages and the options.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "codec/Cp1251.h"
#include "engine/display/Canvas.h"
#include "frontend/FrontEndRun.h"
#include "frontend/FrontEndScreens.h"
#include "frontend/InternetShortcut.h"
#include "frontend/ShareConfig.h"
#include "support/SoundFixtures.h"

namespace bd::test {
namespace {

using FrontEnd = FrontEndRun;

TEST_F(FrontEnd, HoverSoundPlaysOncePerItemReached) {
  struct Case {
    const char* what;
    uint8_t screen;
    bool exitOpen;
    std::vector<std::pair<int, int>> moves;  // the first one arms the sound from empty space
    int sounds;
  };
  const Case cases[] = {
      {"Options across the gap onto High Score",
       screen::MainMenu,
       false,
       {{300, 300}, {600, 200}, {600, 250}, {600, 270}},
       2},
      {"within one item", screen::MainMenu, false, {{300, 300}, {600, 200}, {620, 210}, {640, 230}}, 1},
      {"every move over the badge",
       screen::MainMenu,
       false,
       {{300, 300}, {600, 550}, {610, 560}, {620, 570}},
       3},
      {"within an answer of the exit confirmation",
       screen::MainMenu,
       true,
       {{100, 100}, {300, 360}, {310, 370}},
       1},
      // The help panel's group follows the column and re-arms the sound, so
      // the item sounds again at the next move (made on the main menu).
      {"column item from a sub-screen",
       screen::Help,
       false,
       {{100, 150}, {600, 200}, {610, 205}, {620, 210}},
       2},
      {"panel button after the column group", screen::Help, false, {{100, 150}, {200, 530}, {210, 535}}, 2},
      {"options rows leave the sound as it was",
       screen::Options,
       false,
       {{100, 150}, {200, 300}, {200, 530}, {210, 531}},
       2},
  };
  for (const Case& c : cases) {
    Go(screen::MainMenu);
    Go(c.screen);
    if (c.exitOpen) form->GameMainExitClick();
    form->HoverSoundArmed = false;
    ClearSounds();
    for (auto [x, y] : c.moves) Move(x, y);
    EXPECT_EQ(SoundsPlayed(), c.sounds) << c.what;
    if (form->GameMainExit.Checked) form->GameMainExitClick();
  }
}

TEST_F(FrontEnd, HighlightsCoverTheItemUnderThePointer) {
  Go(screen::MainMenu);
  Move(600, 200);
  Frame();
  EXPECT_EQ(Color(520, 190), StandInColor("Options_d"));
  EXPECT_EQ(Color(520, 260), StandInColor("High Score_n"));
  EXPECT_EQ(platform.window.Pointer(), PointerShape::Hand);
  // The next move takes the old highlight away.
  Move(600, 270);
  Frame();
  EXPECT_EQ(Color(520, 190), StandInColor("Options_n"));
  EXPECT_EQ(Color(520, 260), StandInColor("High Score_d"));
  Move(300, 300);
  Frame();
  EXPECT_EQ(Color(520, 260), StandInColor("High Score_n"));
  EXPECT_EQ(platform.window.Pointer(), PointerShape::Arrow);
  EXPECT_EQ(CountOf<TMenuGame>(), 0);
}

TEST_F(FrontEnd, ClickAreasDifferBetweenScreens) {
  struct Case {
    uint8_t screen;
    int x, y, button;
    bool opensMoreGames;
  };
  const Case cases[] = {
      // The badge: any button and x up to 730 on the menu; left only and
      // x 680..753 on the sub-screens.
      {screen::MainMenu, 700, 550, 3, true},
      {screen::MainMenu, 735, 550, 1, false},
      {screen::Help, 700, 550, 3, false},
      {screen::Help, 700, 550, 1, true},
      {screen::Help, 753, 587, 1, true},
      {screen::Options, 600, 550, 1, false},
      // Visit Web Site: x 530..750 on the menu, the whole item elsewhere.
      {screen::MainMenu, 520, 420, 1, false},
      {screen::MainMenu, 530, 398, 1, true},
      {screen::MainMenu, 760, 420, 1, false},
      {screen::HighScores, 520, 420, 1, true},
      {screen::Options, 770, 452, 1, true},
  };
  for (const Case& c : cases) {
    Go(c.screen);
    const size_t before = platform.shell.Opened().size();
    ClickAt(c.x, c.y, c.button);
    const bool opened = platform.shell.Opened().size() > before;
    EXPECT_EQ(opened, c.opensMoreGames)
        << int(c.screen) << " at " << c.x << "," << c.y << " button " << c.button;
    if (opened) {
      EXPECT_EQ(platform.shell.Opened().back(), "http://games.bumperdash.example/");
    }
  }
}

TEST_F(FrontEnd, ItemAndButtonEdgesLeadWhereTheyShould) {
  struct Case {
    uint8_t screen;
    int x, y;
    uint8_t after;
    int helpPage;  // after the click, when on the help screen
  };
  const Case cases[] = {
      {screen::MainMenu, 514, 302, screen::HighScores, 0},  // High Score is 45 high
      {screen::MainMenu, 770, 303, screen::MainMenu, 0},
      {screen::MainMenu, 600, 242, screen::Options, 0},
      {screen::MainMenu, 600, 328, screen::Help, 1},
      {screen::MainMenu, 513, 350, screen::MainMenu, 0},
      {screen::HighScores, 324, 554, screen::MainMenu, 0},  // its back button is a pixel wider
      {screen::Help, 324, 554, screen::Help, 1},
      {screen::Help, 187, 523, screen::MainMenu, 0},
      {screen::Options, 323, 540, screen::MainMenu, 0},
      {screen::Help, 470, 540, screen::Help, 2},  // next page stops at 470
      {screen::Help, 471, 540, screen::Help, 1},
      {screen::Help, 38, 540, screen::Help, 1},  // no page before the first
  };
  for (const Case& c : cases) {
    Go(screen::MainMenu);
    Go(c.screen);
    ClickAt(c.x, c.y);
    EXPECT_EQ(form->CurrentScreen, c.after) << int(c.screen) << " at " << c.x << "," << c.y;
    if (c.after == screen::Help) {
      EXPECT_EQ(form->HelpPage, c.helpPage) << c.x << "," << c.y;
    }
  }
}

TEST_F(FrontEnd, HelpPagesStopAtBothEndsAndTheMenuStartsOnPageOne) {
  Go(screen::MainMenu);
  Go(screen::Help);
  ClearSounds();
  ClickAt(100, 540);  // previous, on page 1
  EXPECT_EQ(form->HelpPage, 1);
  EXPECT_EQ(SoundsPlayed(), 0);
  for (int page : {2, 3, 3}) {
    ClickAt(400, 540);
    EXPECT_EQ(form->HelpPage, page);
  }
  EXPECT_EQ(platform.window.WarpX(), -1);  // page changes keep the pointer where it is
  Frame();
  EXPECT_EQ(Color(100, 322), StandInColor("rabbit"));
  ClickAt(100, 540);
  EXPECT_EQ(form->HelpPage, 2);
  Frame();
  EXPECT_EQ(Color(100, 322), StandInColor("menuPodmenu"));

  ClickAt(250, 540);  // back
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
  Move(600, 350);
  Click();
  EXPECT_EQ(form->CurrentScreen, screen::Help);
  EXPECT_EQ(form->HelpPage, 1);
  // Chosen from the column, the pointer is put into the panel.
  EXPECT_EQ(platform.window.WarpX(), 255);
  EXPECT_EQ(platform.window.WarpY(), 320);
}

TEST_F(FrontEnd, HelpLinesFitThePanelAboveItsButtons) {
  Go(screen::MainMenu);
  Go(screen::Help);
  Frame();
  TCanvas& canvas = form->DXDraw.SurfaceCanvas();
  const THelpPage story = HelpPageLines(1);
  ASSERT_EQ(story.Count, 14);  // the heading and thirteen lines
  for (int i = 1; i < story.Count; ++i) EXPECT_LE(W(story.Lines[i].Utf8).size(), 57u) << story.Lines[i].Utf8;
  for (int page = 1; page <= 3; ++page) {
    const THelpPage lines = HelpPageLines(page);
    int bottom = 0;
    for (int i = 0; i < lines.Count; ++i) {
      const THelpLine& line = lines.Lines[i];
      const std::string text = W(line.Utf8);
      canvas.Font.Name = form->TextFont;
      canvas.Font.Size = line.Size;
      EXPECT_LT(line.X + canvas.TextWidth(text), 491) << line.Utf8;
      EXPECT_GE(line.Y, bottom) << line.Utf8 << ": over the line above";
      bottom = line.Y + canvas.TextHeight(text);
      EXPECT_LE(bottom, 523) << line.Utf8 << ": over the buttons";
      // Quotes come in pairs and sentences end with one full stop.
      EXPECT_EQ(std::count(text.begin(), text.end(), '"') % 2, 0) << line.Utf8;
      EXPECT_EQ(text.find(".."), std::string::npos) << line.Utf8;
    }
  }
  form->DXDraw.ReleaseCanvas();
}

// Page 3 names a web address only for a public score server; for one on
// this machine it says where the table is and how to open it.
TEST(HelpPages, AboutPageNamesAnAddressOnlyForAPublicServer) {
  auto lines = [](std::string_view server) {
    std::string all;
    const THelpPage about = AboutPage(server);
    for (int i = 0; i < about.Count; ++i) all += std::string(about.Lines[i].Utf8) + "\n";
    return all;
  };
  for (const char* local : {"http://127.0.0.1:27183", "http://localhost:8080"}) {
    const std::string text = lines(local);
    EXPECT_EQ(text.find("http"), std::string::npos) << text;
    EXPECT_NE(text.find("на этом компьютере"), std::string::npos) << text;
    EXPECT_NE(text.find("«ОНЛАЙН»"), std::string::npos) << text;
  }
  const std::string text = lines("https://scores.example.org");
  EXPECT_NE(text.find("\nhttps://scores.example.org/\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("на этом компьютере"), std::string::npos) << text;
}

// The menus' shortcut and the exit screen's site button lead to one page,
// the game's own, which the build puts beside the game.
TEST(HelpPages, EverySiteLinkOpensTheGamesOwnPage) {
  const std::filesystem::path run(BD_RUN_DIR);
  const std::filesystem::path fromMenus = ShellTarget((run / "moregames.url").string());
  const TShareConfig exit = ReadShareConfig(run / ShareConfigFile, run);
  std::vector<std::filesystem::path> pages;
  for (const TShareButtonConfig& b : exit.Buttons)
    if (b.Command.ends_with(".html")) pages.push_back(b.Command);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(std::filesystem::weakly_canonical(pages[0]), std::filesystem::weakly_canonical(fromMenus));
  const std::vector<uint8_t> bytes = test::ReadFile(fromMenus.string());
  const std::string page(bytes.begin(), bytes.end());
  for (const char* part :
       {"<h2>Об игре</h2>", "<h2>Как играть</h2>", "<h2>Рекорды</h2>", "Config.cfg", "«ОНЛАЙН»"})
    EXPECT_NE(page.find(part), std::string::npos) << part;
  EXPECT_TRUE(std::filesystem::exists(fromMenus.parent_path() / "site-logo.png"));
}

TEST_F(FrontEnd, OptionTogglesSwitchMusicSoundAndTheWhiteWord) {
  Go(screen::MainMenu);
  Go(screen::Options);
  Frame();
  constexpr uint32_t kWhite = 0x00FFFFFF;
  // Music on: "Вкл" is white, "Выкл" is not.
  EXPECT_TRUE(AnyPixel(175, 288, 215, 305, kWhite));
  EXPECT_FALSE(AnyPixel(237, 288, 292, 305, kWhite));

  ClickAt(200, 300);  // "Вкл" while on: nothing
  EXPECT_TRUE(form->GameMusic.Checked);
  ClickAt(250, 300);  // "Выкл"
  EXPECT_FALSE(form->GameMusic.Checked);
  EXPECT_EQ(form->SongHandle, 0u);
  Frame();
  EXPECT_FALSE(AnyPixel(175, 288, 215, 305, kWhite));
  EXPECT_TRUE(AnyPixel(237, 288, 292, 305, kWhite));
  ClickAt(190, 300);  // back on: the menu song starts
  EXPECT_TRUE(form->GameMusic.Checked);
  ASSERT_FALSE(music.loaded.empty());
  EXPECT_NE(music.loaded.back().find("Menu"), std::string::npos);
  EXPECT_EQ(music.playing, form->SongHandle);
  EXPECT_NE(music.playing, 0u);
  ClickAt(237, 309);  // and off again: the song stops
  EXPECT_FALSE(form->GameMusic.Checked);
  EXPECT_EQ(music.playing, 0u);

  ClearSounds();
  ClickAt(215, 330);  // sound off: its own click is silent
  EXPECT_FALSE(form->GameSound.Checked);
  EXPECT_EQ(SoundsPlayed(), 0);
  ClickAt(153, 320);
  EXPECT_TRUE(form->GameSound.Checked);
  EXPECT_EQ(SoundsPlayed(), 1);

  // The country field takes the focus; a click elsewhere gives it up once
  // the field holds text.
  form->GamegoEdit.Checked = false;
  ClickAt(300, 350);
  EXPECT_TRUE(form->GamegoEdit.Checked);
  form->Edit1.Text = "Russia";
  ClickAt(100, 450);
  EXPECT_FALSE(form->GamegoEdit.Checked);
}

}  // namespace
}  // namespace bd::test
