#pragma once
// The places on the 800 x 600 picture that answer the pointer. Unlike
// sprite boxes these rectangles include all four edges: x 514..770 means
// both 514 and 770 are inside.

namespace bd {

struct THitRect {
  int Left, Right, Top, Bottom;  // inclusive
  constexpr bool Contains(int x, int y) const { return x >= Left && x <= Right && y >= Top && y <= Bottom; }
};

namespace hit {

// The menu column on the right. The High Score item is shorter than the rest.
constexpr THitRect StartGame{514, 770, 118, 172};
constexpr THitRect Options{514, 770, 188, 242};
constexpr THitRect HighScore{514, 770, 258, 302};
constexpr THitRect Help{514, 770, 328, 382};
constexpr THitRect VisitWebSite{514, 770, 398, 452};
constexpr THitRect Exit{514, 770, 468, 522};
// The main menu answers Visit Web Site clicks only over the badge's width.
constexpr THitRect VisitWebSiteMenuClick{530, 750, 398, 452};

// The "more games" badge: its highlight area, and where a click opens it on
// the main menu and on the sub-screens.
constexpr THitRect Fgg{530, 750, 530, 587};
constexpr THitRect FggMenuClick{530, 730, 530, 587};
constexpr THitRect FggPanelClick{680, 753, 530, 587};

// The answers of both confirmations.
constexpr THitRect Yes{240, 386, 340, 396};
constexpr THitRect No{414, 560, 340, 396};

// The sub-screens' panel; leaving it returns to the main menu.
constexpr THitRect Panel{18, 491, 117, 573};

// The panels' bottom buttons.
constexpr THitRect PanelLeft{38, 174, 523, 554};
constexpr THitRect PanelBack{187, 323, 523, 554};
constexpr THitRect PanelRight{336, 472, 523, 554};
// Clicks on the right-hand button stop two pixels short of its highlight,
// and the high-score back button reaches one pixel further.
constexpr THitRect PanelRightClick{336, 470, 523, 554};
constexpr THitRect HighScoreBackClick{187, 324, 523, 554};

// The options rows: each choice's word, and the country field.
constexpr THitRect ModeWindowed{173, 273, 258, 278};
constexpr THitRect ModeFullScreen{293, 450, 258, 278};
constexpr THitRect MusicOn{175, 215, 287, 309};
constexpr THitRect MusicOff{237, 292, 287, 309};
constexpr THitRect SoundOn{153, 190, 317, 338};
constexpr THitRect SoundOffHover{216, 270, 317, 338};
constexpr THitRect SoundOffClick{215, 270, 317, 338};
constexpr THitRect CountryField{268, 467, 342, 370};

// The game-over screen's name field and its "send online" box.
constexpr THitRect NameField{213, 587, 312, 339};
constexpr THitRect SendBox{200, 282, 364, 424};

}  // namespace hit
}  // namespace bd
