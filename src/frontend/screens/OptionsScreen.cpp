#include "frontend/screens/OptionsScreen.h"

#include <iterator>

#include "app/MainForm.h"
#include "codec/Cp1251.h"
#include "frontend/MenuSprites.h"
#include "frontend/screens/TextWriter.h"

namespace bd {
namespace {

using Kind = TFocusItem::Kind;

constexpr THover kBack[] = {
    {hit::PanelBack, [](TMainForm& f) { AddPicture<HelpGame_Back>(f, "Help_Back_p", 187, 523, 2); }},
};

// The frames the keys' focus draws round each row with its words and round
// the country row.
constexpr THitRect kModeRow{56, 458, 253, 281};
constexpr THitRect kMusicRow{56, 458, 283, 311};
constexpr THitRect kSoundRow{56, 458, 313, 341};
constexpr THitRect kCountryRow{56, 473, 337, 375};

TFocusItem Choices(const THitRect& row, const THitRect& left, const THitRect& right, bool rightTaken) {
  TFocusItem item{Kind::Choices, rightTaken ? left : right, row};
  item.Left = left;
  item.Right = right;
  return item;
}

// One options row: the row in black, then its current choice again in white
// where that choice's click area begins.
struct TOptionRow {
  int Y;
  const char* Row;
  const char* WhenTrue;
  int TrueX;
  const char* WhenFalse;
  int FalseX;
};

}  // namespace

void TOptionsScreen::Build() {
  PointerHandOver(form_);
  AddPicture<TImageSprite>(form_, "menuPodmenu", 17, 117, 0);
  AddMenuColumn(form_);
  AddBackground(form_);
  AddPictures(form_, {
                         {"Options_Country", 266, 340, 1},
                         {"Options_Back_n", 187, 523, 1},
                     });
  form_.CaretBlink = 30;
  // An empty country field has the focus at once.
  form_.GamegoEdit.Checked = form_.Country.empty();
}

void TOptionsScreen::Leave() {
  TScreen::Leave();
  form_.GamegoEdit.Checked = false;
  form_.SaveSettings();
}

void TOptionsScreen::KeyDown(int key, uint8_t shift) {
  // Left and Right take a focused row's choices; elsewhere they move on.
  if ((key == vk::Left || key == vk::Right) && ChooseWithKeys(form_, FocusStep(key))) {
  } else if (FocusStep(key) != 0) {
    MoveKeyFocus(form_, FocusStep(key));
  }
  if (key == vk::Return && (shift & ssAlt) == 0) ActivateKeyFocus(form_);
  if (key == vk::Escape) form_.SwitchScreen(screen::MainMenu);
  if (key == vk::Back && form_.GamegoEdit.Checked && !form_.Edit1.Text.empty()) form_.Edit1.Text.pop_back();
}

void TOptionsScreen::KeyPress(uint8_t key) {
  // One character every third frame at most, ten in all, and none once the
  // text fills the field.
  if (form_.TypingDelay == 0 && form_.Edit1.Text.size() <= 9 && form_.CaretTextWidth + 15 <= 180) {
    form_.TypingDelay = 3;
    form_.Edit1.Text += static_cast<char>(key);
  }
}

// The options rows only shape the pointer over their choices.
void TOptionsScreen::PanelHover(int x, int y) {
  if (form_.GameMainExit.Checked) return;
  auto handOver = [this, x, y](const THitRect& a, const THitRect& b) {
    if (a.Contains(x, y) || b.Contains(x, y)) form_.Window.SetPointer(PointerShape::Hand);
  };
  if (y >= 258 && y <= 278) {
    handOver(hit::ModeWindowed, hit::ModeFullScreen);
  } else if (y >= 287 && y <= 309) {
    handOver(hit::MusicOn, hit::MusicOff);
  } else if (y >= 317 && y <= 338) {
    handOver(hit::SoundOn, hit::SoundOffHover);
  } else if (y >= 342 && y <= 370) {
    if (hit::CountryField.Contains(x, y)) form_.Window.SetPointer(PointerShape::IBeam);
  } else if (y >= 523 && y <= 554) {
    HoverGroup(form_, kBack, x, y);
  } else {
    form_.HoverSoundArmed = true;
  }
}

void TOptionsScreen::PanelClick(int x, int y) {
  TMainForm& form = form_;
  // A click anywhere takes the focus from a country field that holds text.
  if (!form.Edit1.Text.empty()) form.GamegoEdit.Checked = false;
  if (form.GameFullScreen.Checked ? hit::ModeWindowed.Contains(x, y) : hit::ModeFullScreen.Contains(x, y)) {
    form.GameFullScreenClick();
    ClickSound(form);
  } else if (!form.GameMusic.Checked && hit::MusicOn.Contains(x, y)) {
    form.GameMusicClick();
    ClickSound(form);
    form.PlayMusic("1");
  } else if (form.GameMusic.Checked && hit::MusicOff.Contains(x, y)) {
    form.GameMusicClick();
    ClickSound(form);
    form.StopMusic();
  } else if (form.GameSound.Checked ? hit::SoundOffClick.Contains(x, y) : hit::SoundOn.Contains(x, y)) {
    // Turning sound off makes this click silent.
    form.GameSoundClick();
    ClickSound(form);
  } else if (hit::CountryField.Contains(x, y)) {
    form.GamegoEdit.Checked = true;
    ClickSound(form);
  } else if (hit::PanelBack.Contains(x, y)) {
    form.SwitchScreen(screen::MainMenu);
    ClickSound(form);
  }
}

std::vector<TFocusItem> TOptionsScreen::FocusItems() const {
  return {
      Choices(kModeRow, hit::ModeWindowed, hit::ModeFullScreen, form_.GameFullScreen.Checked),
      Choices(kMusicRow, hit::MusicOn, hit::MusicOff, !form_.GameMusic.Checked),
      Choices(kSoundRow, hit::SoundOn, hit::SoundOffClick, !form_.GameSound.Checked),
      {Kind::Field, hit::CountryField, kCountryRow},
      {Kind::Button, hit::PanelBack},
  };
}

// With the exit question open the title stays and the rest is left out, so
// that nothing shows through the question.
void TOptionsScreen::DrawTexts(TTextWriter& out) {
  form_.Country = form_.Edit1.Text;
  const bool open = form_.GameMainExit.Checked;
  if (!open) out.Text(269, 343, 18, form_.Country);
  out.Text(200, 120, 20, W("ОПЦИИ"));
  if (open) return;
  const TOptionRow rows[] = {
      {255, "РЕЖИМ : Оконный \\ Полный экран", "Полный экран", 293, "Оконный", 173},
      {285, "МУЗЫКА: Вкл \\ Выкл", "Вкл", 175, "Выкл", 237},
      {315, "ЗВУКИ: Вкл \\ Выкл", "Вкл", 153, "Выкл", 215},
  };
  const bool values[] = {form_.GameFullScreen.Checked, form_.GameMusic.Checked, form_.GameSound.Checked};
  for (size_t i = 0; i < std::size(rows); ++i) {
    const TOptionRow& row = rows[i];
    out.Text(62, row.Y, 18, W(row.Row));
    if (values[i])
      out.Text(row.TrueX, row.Y, 18, W(row.WhenTrue), kTextWhite);
    else
      out.Text(row.FalseX, row.Y, 18, W(row.WhenFalse), kTextWhite);
  }
  out.Text(62, 345, 18, W("ВАША СТРАНА:"));
}

}  // namespace bd
