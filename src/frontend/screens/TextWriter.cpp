#include "frontend/screens/TextWriter.h"

#include "engine/display/Canvas.h"
#include "frontend/FrontEndHost.h"
#include "frontend/KeyFocus.h"

namespace bd {
namespace {

// Below this a fitted text would no longer read.
constexpr int kSmallestFittedSize = 8;

}  // namespace

TTextWriter::TTextWriter(IFrontEndHost& host) : host_(host), canvas_(host.Canvas()) {
  canvas_.Brush.Style = TBrushStyle::bsClear;
  canvas_.Font.Name = host.TextFont();
}

TTextWriter::~TTextWriter() { host_.ReleaseCanvas(); }

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

void TTextWriter::FocusFrame() { DrawKeyFocusFrame(host_, canvas_); }

}  // namespace bd
