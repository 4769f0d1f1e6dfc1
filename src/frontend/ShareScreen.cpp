#include "frontend/ShareScreen.h"

#include <algorithm>

#include "engine/display/Canvas.h"
#include "engine/base/Errors.h"
#include "engine/images/PictureFile.h"
#include "engine/base/Types.h"

namespace bd {

namespace {

constexpr const char* kCountdownFont = "Verdana";
// A size from the description beyond anything that fits on the 800 x 600
// picture would only make the font library render enormous glyphs.
constexpr int kLargestFontSize = 600;

}  // namespace

void TShareScreen::Configure(const std::filesystem::path& file, const std::filesystem::path& root) {
  const TShareConfig config = ReadShareConfig(file, root);
  Enabled = config.Enabled;
  ButtonCount = config.ButtonCount;
  Buttons.clear();
  for (const TShareButtonConfig& b : config.Buttons) Buttons.emplace_back(b);
  PicturePath = config.PicturePath;
  Countdown = config.Countdown;
  ExplicitFontSize = config.ExplicitFontSize;
  FontSize = config.FontSize;
  CountdownX = config.CountdownX;
  CountdownY = config.CountdownY;
  CountdownColor = config.CountdownColor;
  if (!Enabled) return;

  // A picture that exists but cannot be decoded is as wrong as a missing
  // one: the screen is switched off rather than left half drawn, and the
  // game's start-up goes on undisturbed.
  try {
    picture_ = LoadPictureFile(PicturePath);
    for (const TButton_2& b : Buttons)
      for (const std::string* path : {&b.NormalImage, &b.HoverImage, &b.DisabledImage})
        if (!images_.contains(*path)) images_[*path] = LoadPictureFile(*path);
  } catch (const EError&) {
    Enabled = false;
    picture_.reset();
    images_.clear();
  }
}

const TDirectDrawSurface* TShareScreen::Image(const std::string& path) const {
  const auto it = images_.find(path);
  return it == images_.end() ? nullptr : it->second.get();
}

std::string TShareScreen::CountdownText() const {
  if (Countdown <= 0) return {};
  return std::to_string(Countdown / 10 + 1);
}

void TShareScreen::PointAt(int x, int y) {
  for (TButton_2& b : Buttons) b.Hovered = b.X <= x && x <= b.X + b.Width && b.Y <= y && y <= b.Y + b.Height;
}

void TShareScreen::Frame(TCanvas& canvas) {
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Name = kCountdownFont;
  canvas.Font.Color = CountdownColor;
  canvas.Font.Size = std::min(FontSize, kLargestFontSize);
  canvas.Font.Style = 0;

  if (picture_) canvas.Draw(0, 0, *picture_);
  for (const TButton_2& b : Buttons) {
    if (!b.Visible) continue;
    if (b.Enabled && !b.Hovered) {
      if (const auto* image = Image(b.NormalImage)) canvas.Draw(b.X, b.Y, *image);
    } else if (b.Enabled) {
      if (const auto* image = Image(b.HoverImage)) canvas.Draw(b.HoverX, b.HoverY, *image);
    } else if (b.IsExit()) {
      if (const auto* image = Image(b.DisabledImage)) canvas.Draw(b.DisabledX, b.DisabledY, *image);
    } else if (const auto* image = Image(b.NormalImage)) {
      canvas.Draw(b.X, b.Y, *image);
    }
  }

  // The exit button turns to its enabled looks in the frame after the
  // countdown ran out.
  if (Countdown == 0)
    for (TButton_2& b : Buttons)
      if (b.IsExit()) b.Enabled = true;
  const std::string text = CountdownText();
  if (text.empty()) return;
  const int x = static_cast<int>(Round(CountdownX - canvas.TextWidth(text) / 2.0));
  const int y = static_cast<int>(Round(CountdownY - canvas.TextHeight(text) / 2.0));
  canvas.TextOut(x, y, text);
}

void TShareScreen::Click(const std::function<void(const std::string&)>& openFile,
                         const std::function<void()>& requestClose) {
  for (const TButton_2& b : Buttons) {
    if (!b.Hovered) continue;
    if (b.IsExit())
      requestClose();
    else
      openFile(b.Command);
  }
}

}  // namespace bd
