#pragma once
// Every picture, sound and song name the game asks for. The asset builder
// makes exactly these, and the tests check that each one loads, so a name
// added to the game's code must be added here too.

#include <string_view>

namespace bd::assets {

// Pictures of the menu archive, Data/GraphicsMenu.dxg.
inline constexpr std::string_view kMenuImages[] = {"mySplash_fon",
                                                   "logo_loading",
                                                   "menu",
                                                   "Start Game_n",
                                                   "Start Game_d",
                                                   "Options_n",
                                                   "Options_d",
                                                   "High Score_n",
                                                   "High Score_d",
                                                   "Help_n",
                                                   "Help_d",
                                                   "Visit Web Site_n",
                                                   "Visit Web Site_d",
                                                   "Exit_n",
                                                   "Exit_d",
                                                   "fgg_inactiv",
                                                   "fgg_active",
                                                   "menuPodmenu",
                                                   "Help_prev",
                                                   "Help_Up",
                                                   "Help_back_n",
                                                   "Help_Back_p",
                                                   "Help_next",
                                                   "Help_Down",
                                                   "rabbit",
                                                   "Options_Country",
                                                   "Options_Back_n",
                                                   "HighScore_head",
                                                   "HighScore_Table_row",
                                                   "HighScore_Clear_n",
                                                   "HighScore_Clear_d",
                                                   "HighScore_Back_n",
                                                   "HighScore_Back_d",
                                                   "HighScore_View_n",
                                                   "HighScore_View_d",
                                                   "Exit_Main",
                                                   "Exit_Main_Word",
                                                   "HighScore_Clear_Word",
                                                   "Exit_Main_Yes_d",
                                                   "Exit_Main_No_d",
                                                   "Enter_Name",
                                                   "Enter_Name_Send",
                                                   "gameOver",
                                                   "palka"};

// Pictures of the race archive, Data/GraphicsMain.dxg.
inline constexpr std::string_view kRaceImages[] = {
    "background", "All_car",  "bulet",         "pistolet",     "nitroFlames",  "cars_ok1",     "cars_ok2",
    "cars_ok3",   "cars_ok4", "cars_broken1",  "cars_broken2", "cars_broken3", "cars_broken4", "stolb",
    "tree",       "rocks",    "luja",          "lujaUje",      "propast",      "propastPlus",  "cr_pr",
    "zzz",        "meteorit", "sledMeteorita", "boom",         "live",         "helth",        "guns",
    "stopMe",     "nitro",    "bonus",         "m_helth",      "m_speed",      "m_lives",      "m_gorod",
    // The exit confirmation opens over the race as well.
    "Exit_Main", "Exit_Main_Word", "Exit_Main_Yes_d", "Exit_Main_No_d"};

// Sound effects of Data/Sound.dxw.
inline constexpr std::string_view kSounds[] = {
    "button_up", "button_down",  "pause",   "after_pause", "back1", "forward1", "forward2",
    "applaus",   "viva",         "ruchnik", "ruchnik2",    "shoot", "luja",     "boom_stena",
    "boom",      "meteorCreate", "live",    "bell",        "beep"};

// Songs under Music/, each stored as name + ".xm"; song number n plays kSongs[n - 1].
inline constexpr std::string_view kSongs[] = {"Menu", "Main", "GameOver"};

}  // namespace bd::assets
