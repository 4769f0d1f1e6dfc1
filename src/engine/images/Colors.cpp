#include "engine/images/Colors.h"

#include <strings.h>

#include <array>

namespace bd {
namespace {

struct ColorName {
  const char* name;
  uint32_t value;
};

constexpr uint32_t Sys(uint32_t n) { return clSystemColor + n; }

constexpr ColorName kColors[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", clNone},
    {"clDefault", clDefault},
    {"clScrollBar", Sys(0)},
    {"clBackground", Sys(1)},
    {"clActiveCaption", Sys(2)},
    {"clInactiveCaption", Sys(3)},
    {"clMenu", Sys(4)},
    {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)},
    {"clMenuText", Sys(7)},
    {"clWindowText", Sys(8)},
    {"clCaptionText", Sys(9)},
    {"clActiveBorder", Sys(10)},
    {"clInactiveBorder", Sys(11)},
    {"clAppWorkSpace", Sys(12)},
    {"clHighlight", Sys(13)},
    {"clHighlightText", Sys(14)},
    {"clBtnFace", Sys(15)},
    {"clBtnShadow", Sys(16)},
    {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)},
    {"clInactiveCaptionText", Sys(19)},
    {"clBtnHighlight", Sys(20)},
    {"cl3DDkShadow", Sys(21)},
    {"cl3DLight", Sys(22)},
    {"clInfoText", Sys(23)},
    {"clInfoBk", Sys(24)},
    {"clHotLight", Sys(26)},
    {"clGradientActiveCaption", Sys(27)},
    {"clGradientInactiveCaption", Sys(28)},
    {"clMenuHighlight", Sys(29)},
    {"clMenuBar", Sys(30)},
};

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

// The classic grey desktop scheme. There is no desktop to ask, and a fixed
// scheme keeps every key colour the same on every machine.
constexpr std::array<uint32_t, 31> kSystemColors = {
    Rgb(212, 208, 200),  // 0 scroll bar
    Rgb(58, 110, 165),   // 1 desktop background
    Rgb(10, 36, 106),    // 2 active caption
    Rgb(128, 128, 128),  // 3 inactive caption
    Rgb(212, 208, 200),  // 4 menu
    Rgb(255, 255, 255),  // 5 window
    Rgb(0, 0, 0),        // 6 window frame
    Rgb(0, 0, 0),        // 7 menu text
    Rgb(0, 0, 0),        // 8 window text
    Rgb(255, 255, 255),  // 9 caption text
    Rgb(212, 208, 200),  // 10 active border
    Rgb(212, 208, 200),  // 11 inactive border
    Rgb(128, 128, 128),  // 12 application workspace
    Rgb(10, 36, 106),    // 13 highlight
    Rgb(255, 255, 255),  // 14 highlight text
    Rgb(212, 208, 200),  // 15 button face
    Rgb(128, 128, 128),  // 16 button shadow
    Rgb(128, 128, 128),  // 17 grey text
    Rgb(0, 0, 0),        // 18 button text
    Rgb(212, 208, 200),  // 19 inactive caption text
    Rgb(255, 255, 255),  // 20 button highlight
    Rgb(64, 64, 64),     // 21 3-D dark shadow
    Rgb(212, 208, 200),  // 22 3-D light
    Rgb(0, 0, 0),        // 23 tooltip text
    Rgb(255, 255, 225),  // 24 tooltip background
    Rgb(181, 181, 181),  // 25 (no identifier)
    Rgb(0, 0, 128),      // 26 hot-tracked item
    Rgb(166, 202, 240),  // 27 active caption gradient
    Rgb(192, 192, 192),  // 28 inactive caption gradient
    Rgb(49, 106, 197),   // 29 menu highlight
    Rgb(212, 208, 200),  // 30 menu bar
};

}  // namespace

std::optional<uint32_t> IdentToColor(std::string_view ident) {
  for (const auto& c : kColors) {
    if (std::string_view(c.name).size() == ident.size() &&
        strncasecmp(c.name, ident.data(), ident.size()) == 0)
      return c.value;
  }
  return std::nullopt;
}

std::optional<std::string> ColorToIdent(uint32_t color) {
  for (const auto& c : kColors)
    if (c.value == color) return std::string(c.name);
  return std::nullopt;
}

uint32_t ColorToRGB(uint32_t color) {
  if ((color & 0xFF000000u) == clSystemColor) {
    const uint32_t n = color & 0xFFu;
    return n < kSystemColors.size() ? kSystemColors[n] : 0;
  }
  return color & 0x00FFFFFFu;
}

}  // namespace bd
