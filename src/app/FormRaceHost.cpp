#include "app/FormRaceHost.h"

#include "app/MainForm.h"
#include "assets/PictureLookup.h"
#include "engine/display/Canvas.h"
#include "race/RaceHud.h"

namespace bd {

namespace {

// Below this a head-up text shrunk to fit would no longer read.
constexpr int kSmallestHudSize = 8;

}  // namespace

TRaceState& TFormRaceHost::RaceState() { return state_; }
TSpriteEngine& TFormRaceHost::Engine() { return form_.SpriteEngine.Engine(); }
TPictureCollectionItem& TFormRaceHost::FindImage(TPictureName name) {
  return FindPicture(form_.ImageList, name);
}
void TFormRaceHost::PlaySound(TSoundName name) { form_.PlaySound(name); }
void TFormRaceHost::StopSound(TSoundName name) { form_.StopSound(name); }
int32_t TFormRaceHost::Random(int32_t n) { return session_.Random().Next(n); }
bool TFormRaceHost::KeyDown(int key) const { return session_.KeyHeld(key); }
bool TFormRaceHost::LevelTimerEnabled() const { return session_.Clocks().Level.Enabled(); }
bool TFormRaceHost::LevelCompleteTimerEnabled() const { return session_.Clocks().LevelComplete.Enabled(); }
bool TFormRaceHost::NitroTimerEnabled() const { return session_.Clocks().Nitro.Enabled(); }
void TFormRaceHost::SetLevelTimerEnabled(bool enabled) { session_.Clocks().Level.SetEnabled(enabled); }
void TFormRaceHost::SetLevelCompleteTimerEnabled(bool enabled) {
  session_.Clocks().LevelComplete.SetEnabled(enabled);
}
void TFormRaceHost::SetNitroTimerEnabled(bool enabled) { session_.Clocks().Nitro.SetEnabled(enabled); }
bool TFormRaceHost::ExitQuestionOpen() const { return session_.ExitQuestionOpen(); }
void TFormRaceHost::DrawSprites() {
  if (drawing_) form_.SpriteEngine.DrawAll();
}

void TFormRaceHost::ShowGameOver() {
  // A watched game's end must not reach the game-over screen, which would
  // offer its score to the table.
  if (kind_ == TKind::Game) form_.SwitchScreen(screen::GameOver);
}

void TFormRaceHost::DrawHudText(const THudText& text) {
  if (!drawing_) return;
  // Repeated strings come from the font library's cache of rendered texts,
  // so an unchanged display costs no rasterising.
  TCanvas& canvas = form_.DXDraw.SurfaceCanvas();
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Name = form_.TextFont;
  canvas.Font.Size = text.Size;
  canvas.Font.Color = text.Color;
  canvas.Font.Style = 0;
  int y = text.Y;
  if (text.MaxWidth > 0 && canvas.TextWidth(text.Text) > text.MaxWidth) {
    const int fullHeight = canvas.TextHeight(text.Text);
    while (canvas.Font.Size > kSmallestHudSize && canvas.TextWidth(text.Text) > text.MaxWidth)
      --canvas.Font.Size;
    y += (fullHeight - canvas.TextHeight(text.Text)) / 2;
  }
  int x = text.X;
  if (text.Centred) x -= static_cast<int>(Round(canvas.TextWidth(text.Text) / 2.0));
  canvas.TextOut(x, y, text.Text);
  form_.DXDraw.ReleaseCanvas();
}

}  // namespace bd
