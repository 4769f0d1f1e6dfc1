#include "frontend/screens/OptionsScreen.h"

#include <iterator>

#include "codec/Cp1251.h"
#include "engine/display/Canvas.h"
#include "frontend/FrontEndHost.h"
#include "frontend/MenuSprites.h"
#include "frontend/screens/ScreenNumbers.h"
#include "frontend/screens/TextWriter.h"

namespace bd {
namespace {

using Kind = TItem::Kind;

// The frames the keys' focus draws round each row with its words and round
// the country row.
constexpr THitRect kModeRow{56, 458, 253, 281};
constexpr THitRect kMusicRow{56, 458, 283, 311};
constexpr THitRect kSoundRow{56, 458, 313, 341};
constexpr THitRect kCountryRow{56, 473, 337, 375};

// A click anywhere takes the focus from a country field that holds text.
void TakeTypingFromFilledField(IFrontEndHost& host) {
  if (!host.CountryField().empty()) host.SetTyping(false);
}

// A row of two choices; only the one not taken answers a click.
TItem Choices(const THitRect& row, const THitRect& left, const THitRect& right, bool rightTaken,
              void (*action)(IFrontEndHost&)) {
  return {.kind = Kind::Choices,
          .Click = rightTaken ? left : right,
          .Action = action,
          .Frame = row,
          .Left = left,
          .Right = right};
}

constexpr TItem kBack{.Picture = {pic::OptionsBackNormal, 187, 523, 1},
                      .Highlight = {pic::PanelBackHover, 187, 523, 2},
                      .MakeHighlight = &HighlightAs<HelpGame_Back>,
                      .Hover = hit::PanelBack,
                      .Click = hit::PanelBack,
                      .Action = [](IFrontEndHost& f) {
                        TakeTypingFromFilledField(f);
                        f.SwitchScreen(screen::MainMenu);
                        ClickSound(f);
                      }};

// The rows, top to bottom, as the options stand now.
std::vector<TItem> Rows(IFrontEndHost& host) {
  return {
      Choices(kModeRow, hit::ModeWindowed, hit::ModeFullScreen, host.Checked(TFlag::FullScreen),
              [](IFrontEndHost& f) {
                TakeTypingFromFilledField(f);
                f.Click(TFlag::FullScreen);
                ClickSound(f);
              }),
      Choices(kMusicRow, hit::MusicOn, hit::MusicOff, !host.Checked(TFlag::Music),
              [](IFrontEndHost& f) {
                TakeTypingFromFilledField(f);
                f.Click(TFlag::Music);
                ClickSound(f);
                if (f.Checked(TFlag::Music))
                  f.PlayMusic("1");
                else
                  f.StopMusic();
              }),
      Choices(kSoundRow, hit::SoundOn, hit::SoundOffClick, !host.Checked(TFlag::Sound),
              [](IFrontEndHost& f) {
                TakeTypingFromFilledField(f);
                // Turning sound off makes this click silent.
                f.Click(TFlag::Sound);
                ClickSound(f);
              }),
      {.kind = Kind::Field,
       .Click = hit::CountryField,
       .Action =
           [](IFrontEndHost& f) {
             f.SetTyping(true);
             ClickSound(f);
           },
       .Frame = kCountryRow},
      kBack,
  };
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
  PointerHandOver(host_);
  AddPicture<TImageSprite>(host_, pic::SubmenuPanel, 17, 117, 0);
  AddMenuColumn(host_);
  AddBackground(host_);
  AddPicture<TImageSprite>(host_, pic::OptionsCountry, 266, 340, 1);
  AddItemPictures(host_, {&kBack, 1});
  host_.CaretBlink() = 30;
  // An empty country field has the focus at once.
  host_.SetTyping(host_.Country().empty());
}

void TOptionsScreen::Leave() {
  TScreen::Leave();
  host_.SetTyping(false);
  host_.SaveSettings();
}

void TOptionsScreen::KeyDown(int key, uint8_t shift) {
  // Left and Right take a focused row's choices; elsewhere they move on.
  if ((key == vk::Left || key == vk::Right) && ChooseWithKeys(host_, FocusStep(key))) {
  } else if (FocusStep(key) != 0) {
    MoveKeyFocus(host_, FocusStep(key));
  }
  if (key == vk::Return && (shift & ssAlt) == 0) ActivateKeyFocus(host_);
  if (key == vk::Escape) host_.SwitchScreen(screen::MainMenu);
  if (key == vk::Back && host_.Typing() && !host_.CountryField().empty()) host_.CountryField().pop_back();
}

void TOptionsScreen::KeyPress(uint8_t key) {
  // One character every third frame at most, ten in all, and none once the
  // text fills the field.
  if (host_.TypingDelay() == 0 && host_.CountryField().size() <= 9 && host_.CaretTextWidth() + 15 <= 180) {
    host_.TypingDelay() = 3;
    host_.CountryField() += static_cast<char>(key);
  }
}

// The options rows only shape the pointer over their choices.
void TOptionsScreen::PanelHover(int x, int y) {
  if (host_.QuestionOpen()) return;
  auto handOver = [this, x, y](const THitRect& a, const THitRect& b) {
    if (a.Contains(x, y) || b.Contains(x, y)) host_.SetPointer(PointerShape::Hand);
  };
  if (y >= 258 && y <= 278) {
    handOver(hit::ModeWindowed, hit::ModeFullScreen);
  } else if (y >= 287 && y <= 309) {
    handOver(hit::MusicOn, hit::MusicOff);
  } else if (y >= 317 && y <= 338) {
    handOver(hit::SoundOn, hit::SoundOffHover);
  } else if (y >= 342 && y <= 370) {
    if (hit::CountryField.Contains(x, y)) host_.SetPointer(PointerShape::IBeam);
  } else if (y >= 523 && y <= 554) {
    HoverItems(host_, {&kBack, 1}, x, y);
  } else {
    host_.HoverSoundArmed() = true;
  }
}

void TOptionsScreen::PanelClick(int x, int y) {
  TakeTypingFromFilledField(host_);
  ClickItems(host_, Rows(host_), x, y);
}

// The country's width in the field's font; it is also the room the typing
// has left. The width is kept fresh in every frame, not only while a caret
// is shown: otherwise characters typed in the caret's dark half would run
// past the field.
void TOptionsScreen::MeasureTyping() {
  TCanvas& canvas = host_.Canvas();
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Name = host_.TextFont();
  canvas.Font.Size = 18;
  host_.CaretTextWidth() = canvas.TextWidth(host_.Country());
  host_.ReleaseCanvas();
}

bool TOptionsScreen::CaretPlace(double& x, double& y) {
  MeasureTyping();
  x = host_.CaretTextWidth() + 272;
  y = 360;
  return true;
}

std::vector<TItem> TOptionsScreen::FocusItems() const { return Rows(host_); }

// With the exit question open the title stays and the rest is left out, so
// that nothing shows through the question.
void TOptionsScreen::DrawTexts(TTextWriter& out) {
  host_.Country() = host_.CountryField();
  const bool open = host_.Checked(TFlag::MainExit);
  if (!open) out.Text(269, 343, 18, host_.Country());
  out.Text(200, 120, 20, W("ОПЦИИ"));
  if (open) return;
  const TOptionRow rows[] = {
      {255, "РЕЖИМ : Оконный \\ Полный экран", "Полный экран", 293, "Оконный", 173},
      {285, "МУЗЫКА: Вкл \\ Выкл", "Вкл", 175, "Выкл", 237},
      {315, "ЗВУКИ: Вкл \\ Выкл", "Вкл", 153, "Выкл", 215},
  };
  const bool values[] = {host_.Checked(TFlag::FullScreen), host_.Checked(TFlag::Music),
                         host_.Checked(TFlag::Sound)};
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
