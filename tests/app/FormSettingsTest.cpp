// The settings file as the running game reads and writes it.
#include <gtest/gtest.h>

#include <fstream>

#include "app/GameRun.h"
#include "app/Settings.h"
#include "codec/SettingsCodec.h"
#include "codec/Cp1251.h"

namespace bd::test {
namespace {

using FormSettings = GameRun;

TEST_F(FormSettings, FirstStartWritesTheDefaultsBeforeTheSplash) {
  ASSERT_FALSE(std::filesystem::exists("Config.cfg"));
  Start();
  EXPECT_EQ(Reported(), "");
  EXPECT_EQ(form->CurrentScreen, screen::Splash);

  std::vector<std::string> expected = {EncodeSettingsValue("false"), EncodeSettingsValue("true"),
                                       EncodeSettingsValue("true"), "", ""};
  for (const auto& entry : DefaultHighScores()) {
    expected.push_back(EncodeSettingsValue(PadSettingsValue(entry.Name)));
    expected.push_back(EncodeSettingsValue(PadSettingsValue(std::to_string(entry.Score))));
  }
  EXPECT_EQ(FileLines("Config.cfg"), expected);
}

TEST_F(FormSettings, OptionsTextsAndTableComeBackAtTheNextStart) {
  Start();
  form->GameMusicClick();
  form->GameSoundClick();
  form->GameFullScreenClick();
  form->Edit1.Text = W("Россия");
  form->Edit2.Text = "Vasya";
  form->HighScores[3] = {W("Пётр"), 1777};
  // Leaving the options screen writes the file.
  form->SwitchScreen(screen::Options);
  form->SwitchScreen(screen::MainMenu);
  EXPECT_EQ(form->Country, W("Россия"));
  form.reset();
  app.reset();

  Start();
  EXPECT_EQ(Reported(), "");
  EXPECT_FALSE(form->GameMusic.Checked);
  EXPECT_FALSE(form->GameSound.Checked);
  EXPECT_TRUE(form->GameFullScreen.Checked);
  EXPECT_TRUE(platform.window.IsFullScreen());
  EXPECT_EQ(form->Edit1.Text, W("Россия"));
  EXPECT_EQ(form->Country, W("Россия"));
  EXPECT_EQ(form->Edit2.Text, "Vasya");
  EXPECT_EQ(form->PlayerName, "Vasya");
  THighScoreTable table = DefaultHighScores();
  table[3] = {W("Пётр"), 1777};
  EXPECT_EQ(form->HighScores, table);
}

TEST_F(FormSettings, DamagedFileStillLetsTheGameStart) {
  // A hand-edited file: a score that is no number, a name with stray
  // characters around its symbols, and nothing after line 8.
  std::ofstream("Config.cfg", std::ios::binary)
      << EncodeSettingsValue("false") << "\r\n"
      << EncodeSettingsValue("false") << "\r\n"
      << EncodeSettingsValue("true") << "\r\n"
      << "\r\n"
      << "\r\n"
      << "--" << EncodeSettingsValue(PadSettingsValue("Ivan")) << " ?\r\n"
      << EncodeSettingsValue(PadSettingsValue("12x4")) << "\r\n"
      << EncodeSettingsValue(PadSettingsValue("Olga")) << "\r\n";
  Start();
  // The score that is no number is reported, and the file as it was kept.
  EXPECT_NE(Reported().find("Config.cfg line 7: score is not a whole number"), std::string::npos)
      << Reported();
  EXPECT_TRUE(std::filesystem::exists("Config.cfg.bad"));
  EXPECT_EQ(form->CurrentScreen, screen::Splash);
  EXPECT_FALSE(form->GameFullScreen.Checked);
  EXPECT_FALSE(form->GameMusic.Checked);
  EXPECT_TRUE(form->GameSound.Checked);
  EXPECT_EQ(form->HighScores[0], (TLocal_HighScores{"Ivan", DefaultHighScores()[0].Score}));
  EXPECT_EQ(form->HighScores[1].Name, "Olga");
  EXPECT_EQ(form->HighScores[2], DefaultHighScores()[2]);
  // The file was rewritten whole at start-up.
  EXPECT_EQ(FileLines("Config.cfg").size(), 25u);
}

}  // namespace
}  // namespace bd::test
