#include "frontend/screens/TextWriter.h"

#include "app/MainForm.h"
#include "engine/display/Canvas.h"
#include "frontend/KeyFocus.h"

namespace bd {
namespace {

// Below this a fitted text would no longer read.
constexpr int kSmallestFittedSize = 8;

}  // namespace

TTextWriter::TTextWriter(TMainForm& form) : form_(form), canvas_(form.DXDraw.SurfaceCanvas()) {
  canvas_.Brush.Style = TBrushStyle::bsClear;
  canvas_.Font.Name = form.TextFont;
}

TTextWriter::~TTextWriter() { form_.DXDraw.ReleaseCanvas(); }

void TTextWriter::Text(int x, int y, int size, const std::string& cp1251, uint32_t color) {
  canvas_.Font.Size = size;
  canvas_.Font.Color = color;
  canvas_.TextOut(x, y, cp1251);
}

void TTextWriter::FittedText(int x, int y, int size, const std::string& cp1251, int width) {
  canvas_.Font.Size = size;
  const int fullHeight = canvas_.TextHeight(cp1251);
  int fitted = size;
  while (fitted > kSmallestFittedSize && canvas_.TextWidth(cp1251) > width) canvas_.Font.Size = --fitted;
  Text(x, y + (fullHeight - canvas_.TextHeight(cp1251)) / 2, fitted, cp1251);
}

void TTextWriter::FocusFrame() { DrawKeyFocusFrame(form_, canvas_); }

}  // namespace bd
