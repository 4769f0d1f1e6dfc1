// The recordings of the games in the local high-score table, kept beside the
// settings file: one file per entry, moving with the entries, going with an
// entry that drops out or a cleared table, offered only when whole and the
// entry's own, and never costing the table or the settings file.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <variant>

#include "app/GameRun.h"
#include "codec/RecordingFormat.h"
#include "frontend/PointerRects.h"
#include "support/SpoiltFiles.h"

namespace bd::test {
namespace {

namespace fs = std::filesystem;

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class KeptRecordings : public GameRun {
 protected:
  // A game played from the main menu to its end with `score`, then entered
  // as a player does: Enter on the game-over screen with the name known,
  // or, for a score below the table, Enter once the screen lets it go.
  void PlayGame(const std::string& name, int32_t score) {
    form->SwitchScreen(screen::MainMenu);
    Press(vk::Return);
    ASSERT_EQ(form->CurrentScreen, screen::Race);
    form->FormKeyDown(vk::Up, 0);  // something for the recording to hold
    RunFor(100);
    form->FormKeyUp(vk::Up, 0);
    form->RaceState.Score = score;
    form->RaceState.GameOver = true;
    RunFor(50);
    ASSERT_EQ(form->CurrentScreen, screen::GameOver);
    form->Edit2.Text = form->PlayerName = name;
    const bool enters = BeatsHighScores(form->HighScores, score);
    if (!enters) RunFor(5100);
    Press(vk::Return);
    ASSERT_EQ(form->CurrentScreen, enters ? screen::HighScores : screen::MainMenu);
  }

  // Whose recording each table place offers ("" for none). A file that is
  // there must be offered: the games here are all whole.
  std::vector<std::string> Offered() {
    std::vector<std::string> whose;
    for (int k = 0; k < HighScoreCount; ++k) {
      const TTableRecordingLookup found = form->TableRecording(k);
      EXPECT_EQ(found.Refusal, "") << "place " << k + 1;
      whose.push_back(found.Recording ? found.Recording->PlayerName : "");
    }
    return whose;
  }

  // The files in the recordings' folder.
  static std::set<std::string> Files() {
    std::set<std::string> names;
    if (fs::is_directory(TableRecordingsFolder))
      for (const auto& e : fs::directory_iterator(TableRecordingsFolder))
        names.insert(e.path().filename().string());
    return names;
  }

  // The files the places with a recording should have, and nothing else.
  static std::set<std::string> FilesFor(const std::vector<std::string>& offered) {
    std::set<std::string> names;
    for (size_t k = 0; k < offered.size(); ++k)
      if (!offered[k].empty()) names.insert(std::to_string(k + 1) + ".bdrec");
    return names;
  }

  // "Да" on the clear question, clicked as a player would.
  void ClearTable() {
    form->SwitchScreen(screen::HighScores);
    form->GameClearHighScoreClick();
    ASSERT_TRUE(form->GameClearHighScore.Checked);
    const int x = (hit::Yes.Left + hit::Yes.Right) / 2, y = (hit::Yes.Top + hit::Yes.Bottom) / 2;
    form->DXDrawMouseMove(0, x, y);
    form->DXDrawMouseDown(1, 0, x, y);
    ASSERT_EQ(form->HighScores, DefaultHighScores());
  }
};

TEST_F(KeptRecordings, FollowTheirEntriesThroughTheTable) {
  Start();
  struct Game {
    const char* What;
    const char* Name;
    int32_t Score;
    std::vector<std::string> Offered;  // by place, after the game
  };
  // The built-in table holds 3000, 2500, 2000, 1500, 1000, 500, 400, 300,
  // 200 and 100 points.
  const Game games[] = {
      {"enters at the top", "Ann", 5000, {"Ann", "", "", "", "", "", "", "", "", ""}},
      {"enters in the middle, nothing recorded below",
       "Bob",
       1200,
       {"Ann", "", "", "", "", "Bob", "", "", "", ""}},
      {"enters at the bottom", "Cid", 350, {"Ann", "", "", "", "", "Bob", "", "", "", "Cid"}},
      {"does not enter", "Dan", 50, {"Ann", "", "", "", "", "Bob", "", "", "", "Cid"}},
      {"enters at the top, the last entry drops out with its file",
       "Eve",
       6000,
       {"Eve", "Ann", "", "", "", "", "Bob", "", "", ""}},
      {"enters in the middle, one below moves with its file",
       "Fay",
       2200,
       {"Eve", "Ann", "", "", "Fay", "", "", "Bob", "", ""}},
  };
  for (const Game& g : games) {
    SCOPED_TRACE(g.What);
    PlayGame(g.Name, g.Score);
    EXPECT_EQ(Offered(), g.Offered);
    EXPECT_EQ(Files(), FilesFor(g.Offered));
  }
  // The file holds the whole game: seed, inputs and header.
  const TTableRecordingLookup last = form->TableRecording(4);
  ASSERT_TRUE(last.Recording);
  ASSERT_NE(form->LastRecording(), nullptr);
  EXPECT_EQ(*last.Recording, *form->LastRecording());
  EXPECT_FALSE(last.Recording->Events.empty());

  // The next start finds them again beside the table it reads.
  form->SwitchScreen(screen::MainMenu);  // leaving the table saves it
  form.reset();
  Start();
  EXPECT_EQ(Offered(), games[std::size(games) - 1].Offered);

  ClearTable();
  EXPECT_EQ(Offered(), std::vector<std::string>(HighScoreCount));
  EXPECT_EQ(Files(), std::set<std::string>{});
  EXPECT_EQ(Reported(), "");
}

TEST_F(KeptRecordings, AFileThatIsNotItsEntrysWholeRecordingIsNotOffered) {
  struct Spoil {
    const char* What;
    std::function<void(const fs::path& place1, const fs::path& place6)> Apply;
    const char* Refusal;  // part of the reason given; "" for no file at all
  };
  std::vector<Spoil> spoils = {
      {"another entry's recording",
       [](const fs::path& p1, const fs::path& p6) {
         fs::copy_file(p6, p1, fs::copy_options::overwrite_existing);
       },
       "another game"},
      {"the entry's name with another score",
       [](const fs::path& p1, const fs::path&) {
         TRecording r = std::get<TRecording>(DecodeRecording(FileBytes(p1)));
         r.FinalScore += 1;
         WriteBytes(p1, EncodeRecording(r));
       },
       "another game"},
      {"a changed byte",
       [](const fs::path& p1, const fs::path&) {
         std::string bytes = FileBytes(p1);
         bytes[bytes.size() / 2] ^= 0x10;
         WriteBytes(p1, bytes);
       },
       "'Recordings/1.bdrec': "},
  };
  for (const TSpoil& s : CommonSpoils())
    spoils.push_back({s.What, [apply = s.Apply](const fs::path& p1, const fs::path&) { apply(p1); },
                      std::string_view(s.What) == "missing" ? "" : "'Recordings/1.bdrec'"});

  Start();
  PlayGame("Ann", 5000);
  PlayGame("Bob", 1200);
  const fs::path place1 = fs::path(TableRecordingsFolder) / "1.bdrec";
  const fs::path place6 = fs::path(TableRecordingsFolder) / "6.bdrec";
  const std::string annsFile = FileBytes(place1);
  for (const Spoil& s : spoils) {
    SCOPED_TRACE(s.What);
    fs::remove_all(place1);
    WriteBytes(place1, annsFile);
    ASSERT_TRUE(form->TableRecording(0).Recording);
    s.Apply(place1, place6);
    const TTableRecordingLookup found = form->TableRecording(0);
    EXPECT_FALSE(found.Recording);
    EXPECT_NE(found.Refusal.find(s.Refusal), std::string::npos) << found.Refusal;
    EXPECT_EQ(std::string(s.Refusal).empty(), found.Refusal.empty()) << found.Refusal;
    // The other entry's recording is offered as before.
    const TTableRecordingLookup bobs = form->TableRecording(5);
    ASSERT_TRUE(bobs.Recording);
    EXPECT_EQ(bobs.Recording->PlayerName, "Bob");
  }
  // A refusal is the lookup's answer for whoever asks, not a message.
  EXPECT_EQ(Reported(), "");
}

TEST_F(KeptRecordings, RecordingsThatCannotBeWrittenCostNeitherTheTableNorTheSettingsFile) {
  auto playBoth = [this] {
    Start();
    PlayGame("Ann", 5000);
    PlayGame("Bob", 1200);
    form->SwitchScreen(screen::MainMenu);  // leaving the table saves it
  };
  playBoth();
  ASSERT_EQ(Files(), (std::set<std::string>{"1.bdrec", "6.bdrec"}));
  ASSERT_EQ(Reported(), "");
  const std::string withRecordings = FileBytes(SettingsFileName);
  const THighScoreTable table = form->HighScores;

  // Again from scratch, with a file where the recordings' folder would be.
  form.reset();
  app.reset();
  fs::remove(SettingsFileName);
  fs::remove_all(TableRecordingsFolder);
  WriteBytes(TableRecordingsFolder, "not a folder");
  playBoth();
  EXPECT_EQ(FileBytes(SettingsFileName), withRecordings);
  EXPECT_EQ(form->HighScores, table);
  EXPECT_FALSE(form->TableRecording(0).Recording);
  // Each game's failure was told once, naming the folder.
  const auto& messages = platform.messageBox.Messages();
  ASSERT_EQ(messages.size(), 2u) << Reported();
  for (const auto& m : messages) {
    EXPECT_NE(m.text.find("'Recordings"), std::string::npos) << m.text;
    EXPECT_NE(m.text.find("The high scores are kept"), std::string::npos) << m.text;
  }
}

}  // namespace
}  // namespace bd::test
