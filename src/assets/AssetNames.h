#pragma once
// Every picture, sound and song the game asks for by name, each spelt once.
// The engine looks pictures and sounds up by plain strings; the game's own
// lookups take a TPictureName, TSoundName or TSongName instead, which only
// the constants below provide, so a misspelt or unknown name does not
// compile. The asset builder makes these names, and the asset tests check
// that each one on the lists at the end loads from the built data.

#include <string_view>

namespace bd {

struct pic;
struct snd;
struct song;

// A name of one kind. Only `Holder` (pic, snd or song) can make one; everyone
// else copies the holder's constants.
template <class Holder>
class TAssetName {
 public:
  constexpr std::string_view Text() const { return text_; }
  friend constexpr bool operator==(TAssetName, TAssetName) = default;

 private:
  friend Holder;
  constexpr explicit TAssetName(std::string_view text) : text_(text) {}
  std::string_view text_;
};

using TPictureName = TAssetName<pic>;
using TSoundName = TAssetName<snd>;
using TSongName = TAssetName<song>;

// The pictures. "_n" is an item as it rests, "_d" the same item under the pointer.
struct pic {
  pic() = delete;

  // The menu archive, Data/GraphicsMenu.dxg.
  static constexpr TPictureName SplashBackdrop{"mySplash_fon"};
  static constexpr TPictureName SplashLogo{"logo_loading"};
  static constexpr TPictureName MenuBackdrop{"menu"};
  static constexpr TPictureName StartGameNormal{"Start Game_n"};
  static constexpr TPictureName StartGameHover{"Start Game_d"};
  static constexpr TPictureName OptionsNormal{"Options_n"};
  static constexpr TPictureName OptionsHover{"Options_d"};
  static constexpr TPictureName HighScoreNormal{"High Score_n"};
  static constexpr TPictureName HighScoreHover{"High Score_d"};
  static constexpr TPictureName HelpNormal{"Help_n"};
  static constexpr TPictureName HelpHover{"Help_d"};
  static constexpr TPictureName VisitWebSiteNormal{"Visit Web Site_n"};
  static constexpr TPictureName VisitWebSiteHover{"Visit Web Site_d"};
  static constexpr TPictureName ExitNormal{"Exit_n"};
  static constexpr TPictureName ExitHover{"Exit_d"};
  static constexpr TPictureName MoreGamesNormal{"fgg_inactiv"};
  static constexpr TPictureName MoreGamesHover{"fgg_active"};
  static constexpr TPictureName SubmenuPanel{"menuPodmenu"};
  static constexpr TPictureName PreviousPageNormal{"Help_prev"};
  static constexpr TPictureName PreviousPageHover{"Help_Up"};
  static constexpr TPictureName HelpBackNormal{"Help_back_n"};
  static constexpr TPictureName PanelBackHover{"Help_Back_p"};
  static constexpr TPictureName NextPageNormal{"Help_next"};
  static constexpr TPictureName NextPageHover{"Help_Down"};
  static constexpr TPictureName Rabbit{"rabbit"};
  static constexpr TPictureName OptionsCountry{"Options_Country"};
  static constexpr TPictureName OptionsBackNormal{"Options_Back_n"};
  static constexpr TPictureName HighScoreHeading{"HighScore_head"};
  static constexpr TPictureName HighScoreRow{"HighScore_Table_row"};
  static constexpr TPictureName ClearScoresNormal{"HighScore_Clear_n"};
  static constexpr TPictureName ClearScoresHover{"HighScore_Clear_d"};
  static constexpr TPictureName ScoresBackNormal{"HighScore_Back_n"};
  static constexpr TPictureName ScoresBackHover{"HighScore_Back_d"};
  static constexpr TPictureName ViewScoresNormal{"HighScore_View_n"};
  static constexpr TPictureName ViewScoresHover{"HighScore_View_d"};
  static constexpr TPictureName QuestionFrame{"Exit_Main"};
  static constexpr TPictureName ExitQuestion{"Exit_Main_Word"};
  static constexpr TPictureName ClearQuestion{"HighScore_Clear_Word"};
  static constexpr TPictureName YesHover{"Exit_Main_Yes_d"};
  static constexpr TPictureName NoHover{"Exit_Main_No_d"};
  static constexpr TPictureName NameEntry{"Enter_Name"};
  static constexpr TPictureName NameEntrySend{"Enter_Name_Send"};
  static constexpr TPictureName GameOver{"gameOver"};
  static constexpr TPictureName Caret{"palka"};

  // The race archive, Data/GraphicsMain.dxg.
  static constexpr TPictureName Road{"background"};
  static constexpr TPictureName PlayerCar{"All_car"};
  static constexpr TPictureName Bullet{"bulet"};
  static constexpr TPictureName Gun{"pistolet"};
  static constexpr TPictureName NitroFlames{"nitroFlames"};
  static constexpr TPictureName IntactCar1{"cars_ok1"};
  static constexpr TPictureName IntactCar2{"cars_ok2"};
  static constexpr TPictureName IntactCar3{"cars_ok3"};
  static constexpr TPictureName IntactCar4{"cars_ok4"};
  static constexpr TPictureName WreckedCar1{"cars_broken1"};
  static constexpr TPictureName WreckedCar2{"cars_broken2"};
  static constexpr TPictureName WreckedCar3{"cars_broken3"};
  static constexpr TPictureName WreckedCar4{"cars_broken4"};
  static constexpr TPictureName Pole{"stolb"};
  static constexpr TPictureName Tree{"tree"};
  static constexpr TPictureName Rocks{"rocks"};
  static constexpr TPictureName Puddle{"luja"};
  static constexpr TPictureName PuddleSplashed{"lujaUje"};
  static constexpr TPictureName Chasm{"propast"};
  static constexpr TPictureName ChasmLava{"propastPlus"};
  static constexpr TPictureName BandBelow{"cr_pr"};
  static constexpr TPictureName BandAbove{"zzz"};
  static constexpr TPictureName Meteorite{"meteorit"};
  static constexpr TPictureName MeteoriteTrail{"sledMeteorita"};
  static constexpr TPictureName Explosion{"boom"};
  static constexpr TPictureName Life{"live"};
  static constexpr TPictureName Health{"helth"};
  static constexpr TPictureName Guns{"guns"};
  static constexpr TPictureName StopMe{"stopMe"};
  static constexpr TPictureName Nitro{"nitro"};
  static constexpr TPictureName Bonus{"bonus"};
  static constexpr TPictureName HudHealth{"m_helth"};
  static constexpr TPictureName HudSpeed{"m_speed"};
  static constexpr TPictureName HudLives{"m_lives"};
  static constexpr TPictureName TownSign{"m_gorod"};
};

// The sound effects of Data/Sound.dxw.
struct snd {
  snd() = delete;

  static constexpr TSoundName ButtonUp{"button_up"};
  static constexpr TSoundName ButtonDown{"button_down"};
  static constexpr TSoundName Pause{"pause"};
  static constexpr TSoundName AfterPause{"after_pause"};
  // The engine's three layers, from idle to high.
  static constexpr TSoundName EngineIdle{"back1"};
  static constexpr TSoundName EngineMid{"forward1"};
  static constexpr TSoundName EngineHigh{"forward2"};
  static constexpr TSoundName Applause{"applaus"};
  static constexpr TSoundName Viva{"viva"};
  static constexpr TSoundName Handbrake{"ruchnik"};
  static constexpr TSoundName HardStop{"ruchnik2"};
  static constexpr TSoundName Shot{"shoot"};
  static constexpr TSoundName PuddleSplash{"luja"};
  static constexpr TSoundName WallHit{"boom_stena"};
  static constexpr TSoundName Explosion{"boom"};
  static constexpr TSoundName MeteoriteFalls{"meteorCreate"};
  static constexpr TSoundName ExtraLife{"live"};
  static constexpr TSoundName Bell{"bell"};
  static constexpr TSoundName Beep{"beep"};
};

// The songs under Music/, each stored as its name + ".xm".
struct song {
  song() = delete;

  static constexpr TSongName Menu{"Menu"};
  static constexpr TSongName Race{"Main"};
  static constexpr TSongName GameOver{"GameOver"};
};

namespace assets {

// Every picture of the menu archive.
inline constexpr TPictureName kMenuImages[] = {pic::SplashBackdrop,
                                               pic::SplashLogo,
                                               pic::MenuBackdrop,
                                               pic::StartGameNormal,
                                               pic::StartGameHover,
                                               pic::OptionsNormal,
                                               pic::OptionsHover,
                                               pic::HighScoreNormal,
                                               pic::HighScoreHover,
                                               pic::HelpNormal,
                                               pic::HelpHover,
                                               pic::VisitWebSiteNormal,
                                               pic::VisitWebSiteHover,
                                               pic::ExitNormal,
                                               pic::ExitHover,
                                               pic::MoreGamesNormal,
                                               pic::MoreGamesHover,
                                               pic::SubmenuPanel,
                                               pic::PreviousPageNormal,
                                               pic::PreviousPageHover,
                                               pic::HelpBackNormal,
                                               pic::PanelBackHover,
                                               pic::NextPageNormal,
                                               pic::NextPageHover,
                                               pic::Rabbit,
                                               pic::OptionsCountry,
                                               pic::OptionsBackNormal,
                                               pic::HighScoreHeading,
                                               pic::HighScoreRow,
                                               pic::ClearScoresNormal,
                                               pic::ClearScoresHover,
                                               pic::ScoresBackNormal,
                                               pic::ScoresBackHover,
                                               pic::ViewScoresNormal,
                                               pic::ViewScoresHover,
                                               pic::QuestionFrame,
                                               pic::ExitQuestion,
                                               pic::ClearQuestion,
                                               pic::YesHover,
                                               pic::NoHover,
                                               pic::NameEntry,
                                               pic::NameEntrySend,
                                               pic::GameOver,
                                               pic::Caret};

// Every picture of the race archive.
inline constexpr TPictureName kRaceImages[] = {
    pic::Road, pic::PlayerCar, pic::Bullet, pic::Gun, pic::NitroFlames, pic::IntactCar1, pic::IntactCar2,
    pic::IntactCar3, pic::IntactCar4, pic::WreckedCar1, pic::WreckedCar2, pic::WreckedCar3, pic::WreckedCar4,
    pic::Pole, pic::Tree, pic::Rocks, pic::Puddle, pic::PuddleSplashed, pic::Chasm, pic::ChasmLava,
    pic::BandBelow, pic::BandAbove, pic::Meteorite, pic::MeteoriteTrail, pic::Explosion, pic::Life,
    pic::Health, pic::Guns, pic::StopMe, pic::Nitro, pic::Bonus, pic::HudHealth, pic::HudSpeed, pic::HudLives,
    pic::TownSign,
    // The exit confirmation opens over the race as well.
    pic::QuestionFrame, pic::ExitQuestion, pic::YesHover, pic::NoHover};

// Every sound effect.
inline constexpr TSoundName kSounds[] = {
    snd::ButtonUp,       snd::ButtonDown, snd::Pause,        snd::AfterPause, snd::EngineIdle,
    snd::EngineMid,      snd::EngineHigh, snd::Applause,     snd::Viva,       snd::Handbrake,
    snd::HardStop,       snd::Shot,       snd::PuddleSplash, snd::WallHit,    snd::Explosion,
    snd::MeteoriteFalls, snd::ExtraLife,  snd::Bell,         snd::Beep};

// The songs; song number n plays kSongs[n - 1].
inline constexpr TSongName kSongs[] = {song::Menu, song::Race, song::GameOver};

}  // namespace assets
}  // namespace bd
