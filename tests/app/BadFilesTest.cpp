// The game started on broken files: a missing, empty, cut, garbled or
// mis-sized archive, song or settings file, or a folder or a pipe in a
// file's place. Each gives a message naming the file (or the fallback the
// README lists), the game goes on, and the player's high-score table survives.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <fstream>
#include <sstream>

#include "app/GameRun.h"
#include "app/Settings.h"
#include "codec/SettingsCodec.h"
#include "support/SoundFixtures.h"
#include "support/SpoiltFiles.h"

namespace bd::test {
namespace {

namespace fs = std::filesystem;

// The common spoils and one of a plausible file whose sizes are wrong.
std::vector<TSpoil> SpoilsAnd(TSpoil wrongSizes) {
  std::vector<TSpoil> spoils = CommonSpoils();
  spoils.push_back(std::move(wrongSizes));
  return spoils;
}

// A case's description as a test name.
std::string CaseName(std::string what) {
  for (char& c : what)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return what;
}

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The player's own settings, which no broken data file may cost them.
TSettingsValues PlayersSettings() {
  TSettingsValues v;
  v.PlayerName = "Vasya";
  for (int k = 0; k < HighScoreCount; ++k)
    v.Table[static_cast<size_t>(k)] = {"Player" + std::to_string(k), 9000 - 100 * k};
  return v;
}

THighScoreTable TableOnDisk() {
  TSettingsValues v;
  std::ostringstream log;
  EXPECT_TRUE(LoadSettingsFile(SettingsFileName, v, log));
  EXPECT_EQ(log.str(), "");
  return v.Table;
}

class BadFileRun : public GameRun {
 protected:
  void SetUp() override {
    GameRun::SetUp();
    SaveSettingsFile(SettingsFileName, PlayersSettings());
  }
  // A key as the window delivers it, handled at once.
  void Key(int key) {
    platform.events.KeyDown(key);
    platform.events.KeyUp(key);
    RunFor(1);
  }
  // From the splash to the main menu, then Enter to race.
  void StartRace() {
    RunFor(300);
    Key(vk::Return);
    ASSERT_EQ(form->CurrentScreen, screen::MainMenu);
    RunFor(300);
    Key(vk::Return);
  }
  size_t MessageCount() const { return platform.messageBox.Messages().size(); }
};

// --- The archives ---

const std::vector<TSpoil>& ArchiveSpoils() {
  // The first picture or recording claims more bytes than the file holds.
  static const std::vector<TSpoil> spoils =
      SpoilsAnd({"a blob longer than the file", [](const fs::path& p) {
                   const bool sounds = p.extension() == ".dxw";
                   SetSizeAfter(p, sounds ? "Wave.WAVE" : "Picture.Data", 1, 0x7FFFFF00);
                 }});
  return spoils;
}

class BadArchive : public BadFileRun, public ::testing::WithParamInterface<size_t> {
 protected:
  void Spoil(const char* path) { ArchiveSpoils()[GetParam()].Apply(path); }
};

TEST_P(BadArchive, MenuPicturesStopTheStartWithAMessageAndTouchNoSettings) {
  const std::string settings = FileBytes(SettingsFileName);
  Spoil(GraphicsMenuPath);
  Start();
  ASSERT_EQ(MessageCount(), 1u) << Reported();
  EXPECT_NE(Reported().find("\"Data/GraphicsMenu.dxg\""), std::string::npos) << Reported();
  // The rest of the start is skipped: no screen, nothing read or written.
  EXPECT_EQ(form->CurrentScreen, screen::None);
  RunFor(200);
  EXPECT_EQ(MessageCount(), 1u) << Reported();
  platform.events.CloseRequest();
  RunFor(20);
  EXPECT_TRUE(app->Terminated());
  EXPECT_EQ(FileBytes(SettingsFileName), settings);
}

TEST_P(BadArchive, RacePicturesLeadBackToTheMainMenu) {
  Spoil(GraphicsMainPath);
  Start();
  StartRace();
  ASSERT_EQ(MessageCount(), 1u) << Reported();
  EXPECT_NE(Reported().find("\"Data/GraphicsMain.dxg\""), std::string::npos) << Reported();
  EXPECT_NE(Reported().find("The race cannot start"), std::string::npos) << Reported();
  // The main menu is back with its own pictures and works as before.
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
  EXPECT_NE(form->ImageList.Items().FindOrNull("menu"), nullptr);
  RunFor(300);
  EXPECT_EQ(MessageCount(), 1u) << Reported();
  form->SwitchScreen(screen::HighScores);
  Key(vk::Escape);
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
  EXPECT_EQ(MessageCount(), 1u) << Reported();
  EXPECT_EQ(TableOnDisk(), PlayersSettings().Table);
}

TEST_P(BadArchive, MenuPicturesSpoiltDuringARaceAreReportedOnceAndTheWindowCloses) {
  Start();
  StartRace();
  ASSERT_EQ(form->CurrentScreen, screen::Race);
  RunFor(2500);
  Spoil(GraphicsMenuPath);
  // The game ends: the race frame goes on to the game-over screen, whose
  // pictures come from the spoilt archive.
  form->RaceState.GameOver = true;
  RunFor(500);
  ASSERT_EQ(MessageCount(), 1u) << Reported();
  EXPECT_NE(Reported().find("\"Data/GraphicsMenu.dxg\""), std::string::npos) << Reported();
  EXPECT_EQ(form->CurrentScreen, screen::None);
  platform.events.CloseRequest();
  RunFor(20);
  EXPECT_TRUE(app->Terminated());
  EXPECT_EQ(MessageCount(), 1u) << Reported();
}

TEST_P(BadArchive, SoundsAreReportedOnceAndTheGamePlaysOnWithoutThem) {
  Spoil(SoundArchivePath);
  Start();
  ASSERT_EQ(MessageCount(), 1u) << Reported();
  EXPECT_NE(Reported().find("\"Data/Sound.dxw\""), std::string::npos) << Reported();
  // A race with the engine sounds, the exit confirmation opened and closed,
  // and back to the menu: every one of them plays or stops a sound.
  StartRace();
  ASSERT_EQ(form->CurrentScreen, screen::Race);
  platform.events.KeyDown(vk::Up);
  RunFor(3000);
  platform.events.KeyUp(vk::Up);
  EXPECT_GT(form->RaceState.Distance, 0);
  Key(vk::Escape);
  ASSERT_TRUE(form->GameMainExit.Checked);
  form->GameMainExitClick();  // the No answer
  EXPECT_FALSE(form->GameMainExit.Checked);
  form->SwitchScreen(screen::MainMenu);
  RunFor(300);
  EXPECT_EQ(MessageCount(), 1u) << Reported();
  EXPECT_EQ(form->HighScores, PlayersSettings().Table);
}

INSTANTIATE_TEST_SUITE_P(Spoilt, BadArchive, ::testing::Range<size_t>(0, ArchiveSpoils().size()),
                         [](const auto& p) { return CaseName(ArchiveSpoils()[p.param].What); });

// --- The songs ---

const std::vector<TSpoil>& SongSpoils() {
  static const std::vector<TSpoil> spoils = [] {
    // The header claims to be far longer than the file.
    std::vector<TSpoil> v = SpoilsAnd({"a header longer than the file", [](const fs::path& p) {
                                         SetSizeAfter(p, "Extended Module: ", 43, 0x7FFFFF00);
                                       }});
    v.insert(v.begin(), {"intact", [](const fs::path&) {}});
    return v;
  }();
  return spoils;
}

class BadSong : public BadFileRun, public ::testing::WithParamInterface<size_t> {};

TEST_P(BadSong, LeavesTheMusicSilentAndTheGameGoesOn) {
  const bool intact = GetParam() == 0;
  fs::create_directory("Music");
  for (const char* name : {"Menu", "Main", "GameOver"}) {
    const fs::path song = fs::path("Music") / (std::string(name) + ".xm");
    WriteFile(song.string(), TinyXm(2, 8));
    SongSpoils()[GetParam()].Apply(song);
  }
  Start();
  RunFor(100);
  EXPECT_EQ(form->SongHandle != 0, intact) << "menu song";
  StartRace();
  ASSERT_EQ(form->CurrentScreen, screen::Race);
  EXPECT_EQ(form->SongHandle != 0, intact) << "race song";
  RunFor(1000);
  form->RaceState.GameOver = true;
  RunFor(100);
  ASSERT_EQ(form->CurrentScreen, screen::GameOver);
  EXPECT_EQ(form->SongHandle != 0, intact) << "game-over song";
  EXPECT_EQ(Reported(), "");
}

INSTANTIATE_TEST_SUITE_P(Spoilt, BadSong, ::testing::Range<size_t>(0, SongSpoils().size()),
                         [](const auto& p) { return CaseName(SongSpoils()[p.param].What); });

// --- The settings file ---

struct TSettingsCase {
  const char* What;
  std::function<void(const fs::path&)> Spoil;
  // A message names the file, and the file as it was is kept as
  // "Config.cfg.bad": copied when it could be read, otherwise moved.
  bool Reported;
  // The table the game then has; none: not looked at.
  std::function<THighScoreTable()> Table;
};

// The default table with the player's entries `kept`.
std::function<THighScoreTable()> PlayersEntries(std::vector<size_t> kept,
                                                std::function<void(THighScoreTable&)> also = {}) {
  return [kept, also] {
    THighScoreTable table = DefaultHighScores();
    for (size_t k : kept) table[k] = PlayersSettings().Table[k];
    if (also) also(table);
    return table;
  };
}

// Replaces line `number` (1-based) of the settings file with `line`.
void ReplaceLine(const fs::path& path, int number, const std::string& line) {
  std::string text = FileBytes(path);
  size_t start = 0;
  for (int i = 1; i < number; ++i) start = text.find("\r\n", start) + 2;
  text.replace(start, text.find("\r\n", start) - start, line);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// The first `lines` lines of the settings file and `symbols` symbols of the next.
void CutAt(const fs::path& path, int lines, size_t symbols) {
  const std::string text = FileBytes(path);
  size_t end = 0;
  for (int i = 0; i < lines; ++i) end = text.find("\r\n", end) + 2;
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text.substr(0, end + symbols);
}

const std::vector<TSettingsCase>& SettingsCases() {
  static const std::vector<TSettingsCase> cases = {
      // An empty file is read as empty lines: the defaults, and full screen,
      // as an empty first line means.
      {"empty", [](const fs::path& p) { fs::resize_file(p, 0); }, false, PlayersEntries({})},
      // Lines missing at the end read as empty and keep their defaults.
      {"cut after entry 2", [](const fs::path& p) { CutAt(p, 11, 0); }, false, PlayersEntries({0, 1, 2})},
      // The last line is cut inside entry 3's score: a number no longer,
      // which keeps the score it would have replaced.
      {"cut inside a score", [](const fs::path& p) { CutAt(p, 12, 4); }, true,
       PlayersEntries({0, 1, 2}, [](THighScoreTable& t) { t[3].Name = PlayersSettings().Table[3].Name; })},
      {"garbage", [](const fs::path& p) { WriteFile(p.string(), Garbage(fs::file_size(p))); }, true, {}},
      // Well-formed lines with values that cannot be: a score beyond any
      // number the table holds, a name with control characters.
      {"a score too large and a name with control characters",
       [](const fs::path& p) {
         ReplaceLine(p, 9, EncodeSettingsValue(PadSettingsValue("99999999999")));
         ReplaceLine(p, 10, EncodeSettingsValue(PadSettingsValue(std::string("Pl\x01yer", 6))));
       },
       true,
       PlayersEntries({0, 3, 4, 5, 6, 7, 8, 9},
                      [](THighScoreTable& t) {
                        t[1].Name = PlayersSettings().Table[1].Name;
                        t[2].Score = PlayersSettings().Table[2].Score;
                      })},
      {"a folder in its place", CommonSpoils()[4].Apply, true, PlayersEntries({})},
      {"a named pipe in its place", CommonSpoils()[5].Apply, true, PlayersEntries({})},
      {"far too large",
       [](const fs::path& p) { std::ofstream(p, std::ios::app) << std::string(2 << 20, 'Q') << "\r\n"; },
       true, PlayersEntries({})},
      {"not readable", [](const fs::path& p) { fs::permissions(p, fs::perms::none); }, true,
       PlayersEntries({})},
  };
  return cases;
}

class BadSettingsFile : public BadFileRun, public ::testing::WithParamInterface<size_t> {};

TEST_P(BadSettingsFile, IsReportedAndKeptAndTheGameStarts) {
  const TSettingsCase& c = SettingsCases()[GetParam()];
  if (std::string(c.What) == "not readable" && ::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  c.Spoil(SettingsFileName);
  const fs::file_type type = fs::symlink_status(SettingsFileName).type();
  const std::string bytes = type == fs::file_type::regular ? FileBytes(SettingsFileName) : "";
  Start();
  RunFor(100);
  EXPECT_EQ(form->CurrentScreen, screen::Splash);

  const fs::path kept = "Config.cfg.bad";
  if (c.Reported) {
    ASSERT_EQ(MessageCount(), 1u) << Reported();
    EXPECT_NE(Reported().find("Config.cfg"), std::string::npos) << Reported();
    EXPECT_NE(Reported().find("'Config.cfg.bad'"), std::string::npos) << Reported();
    EXPECT_EQ(fs::symlink_status(kept).type(), type);
    if (type == fs::file_type::regular) {
      EXPECT_EQ(FileBytes(kept), bytes);
    }
  } else {
    EXPECT_EQ(Reported(), "");
    EXPECT_FALSE(fs::exists(kept));
  }

  if (c.Table) {
    EXPECT_EQ(form->HighScores, c.Table());
  }
  // What the game has is what it wrote, whole.
  EXPECT_EQ(FileLines(SettingsFileName).size(), 25u);
  EXPECT_EQ(TableOnDisk(), form->HighScores);
  Key(vk::Return);
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
}

INSTANTIATE_TEST_SUITE_P(Spoilt, BadSettingsFile, ::testing::Range<size_t>(0, SettingsCases().size()),
                         [](const auto& p) { return CaseName(SettingsCases()[p.param].What); });

// A settings file that cannot be written: a folder stands where the game
// puts the new file before it replaces the old one, as a full disk or a
// read-only folder would stop it.
TEST_F(BadFileRun, AFailedSaveIsReportedAndNeitherStopsTheGameNorCostsTheTable) {
  const std::string before = FileBytes(SettingsFileName);
  fs::create_directory("Config.cfg.tmp");
  Start();
  EXPECT_EQ(form->CurrentScreen, screen::Splash);
  ASSERT_EQ(MessageCount(), 1u) << Reported();
  EXPECT_NE(Reported().find("Cannot write 'Config.cfg.tmp'"), std::string::npos) << Reported();

  // A new best score, entered on the game-over screen: the save fails, the
  // table is shown all the same.
  form->SwitchScreen(screen::GameOver);
  form->RaceState.Score = 20000;
  RunFor(5100);
  ASSERT_TRUE(form->GameEnterName.Checked);
  Key(vk::Return);
  EXPECT_EQ(form->CurrentScreen, screen::HighScores);
  EXPECT_EQ(form->HighScores[0], (TLocal_HighScores{"Vasya", 20000}));
  EXPECT_EQ(MessageCount(), 2u) << Reported();
  EXPECT_EQ(FileBytes(SettingsFileName), before);

  // Once the way is clear, the next save writes the table with the new score.
  fs::remove("Config.cfg.tmp");
  Key(vk::Escape);
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
  EXPECT_EQ(MessageCount(), 2u) << Reported();
  EXPECT_EQ(TableOnDisk(), form->HighScores);
}

}  // namespace
}  // namespace bd::test
