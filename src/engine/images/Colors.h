#pragma once
// Colour values as the image archives store them (0x00BBGGRR, red in the low
// byte), the named colour identifiers an archive may use instead of a number,
// and the system colours resolved against a fixed classic desktop scheme.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bd {

constexpr uint32_t clNone = 0x1FFFFFFF;
constexpr uint32_t clDefault = 0x20000000;
constexpr uint32_t clSystemColor = 0xFF000000;

// The value of a colour identifier such as "clFuchsia" or "clBtnFace"
// (matched ignoring case); nothing for an unknown identifier.
std::optional<uint32_t> IdentToColor(std::string_view ident);

// The identifier of a colour value, if it has one ("clFuchsia" for 0xFF00FF).
std::optional<std::string> ColorToIdent(uint32_t color);

// A colour ready to compare with picture pixels: system colours
// (0xFF000000 + n) become their colour in the classic desktop scheme, every
// other value keeps its low 24 bits.
uint32_t ColorToRGB(uint32_t color);

}  // namespace bd
