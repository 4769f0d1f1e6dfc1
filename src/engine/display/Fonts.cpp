#include "engine/display/Fonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdio>

#include "codec/Cp1251.h"

namespace bd {
namespace {

// The Windows faces the game names, mapped to free fonts with the same
// metrics (Liberation Sans) or the closest design (DejaVu Sans).
const char kAliases[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <alias binding="same"><family>Arial Cyr</family><prefer><family>Liberation Sans</family></prefer><default><family>sans-serif</family></default></alias>
  <alias binding="same"><family>Arial</family><prefer><family>Liberation Sans</family></prefer><default><family>sans-serif</family></default></alias>
  <alias binding="same"><family>Verdana</family><prefer><family>DejaVu Sans</family></prefer><default><family>sans-serif</family></default></alias>
</fontconfig>
)";

// Bounds on the caches: the game shows a few dozen distinct texts at a time;
// typing and changing scores add new ones that age out.
constexpr size_t kMaxRendered = 512;
constexpr size_t kMaxSizes = 4096;

std::string MatchFile(FcConfig* config, const char* family, uint8_t style) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddInteger(pattern, FC_WEIGHT, (style & fsBold) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, (style & fsItalic) ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  std::string file;
  if (match != nullptr) {
    FcChar8* path = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr)
      file = reinterpret_cast<const char*>(path);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return file;
}

// The smallest rectangle holding every pixel of `s` with an alpha above 0.
SDL_Rect InkBounds(const SDL_Surface& s) {
  const uint32_t amask = s.format->Amask;
  if (s.format->BytesPerPixel != 4 || amask == 0 || SDL_MUSTLOCK(&s)) return SDL_Rect{0, 0, s.w, s.h};
  int left = s.w, right = 0, top = s.h, bottom = 0;
  for (int y = 0; y < s.h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s.pixels) + y * s.pitch);
    for (int x = 0; x < s.w; ++x) {
      if ((row[x] & amask) == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x + 1);
      top = std::min(top, y);
      bottom = y + 1;
    }
  }
  if (left >= right) return SDL_Rect{0, 0, 0, 0};
  return SDL_Rect{left, top, right - left, bottom - top};
}

}  // namespace

TFontLibrary& TFontLibrary::Instance() {
  static TFontLibrary library;
  return library;
}

TFontLibrary::TFontLibrary() {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config != nullptr &&
      !FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kAliases), FcTrue)) {
    std::fprintf(stderr, "Font aliases could not be registered; system defaults apply\n");
  }
  config_ = config;
  ttfReady_ = TTF_WasInit() > 0 || TTF_Init() == 0;
  if (!ttfReady_) std::fprintf(stderr, "Font rendering is not available: %s\n", TTF_GetError());
}

TFontLibrary::~TFontLibrary() {
  for (auto& [key, entry] : rendered_) SDL_FreeSurface(entry.text.surface);
  if (ttfReady_) {
    for (auto& [key, font] : fonts_)
      if (font != nullptr) TTF_CloseFont(font);
  }
  if (config_ != nullptr) FcConfigDestroy(static_cast<FcConfig*>(config_));
}

std::string TFontLibrary::ResolveFile(const std::string& face, uint8_t style) {
  if (config_ == nullptr) return {};
  return MatchFile(static_cast<FcConfig*>(config_), face.c_str(), style);
}

TTF_Font* TFontLibrary::Font(const std::string& face, int points, uint8_t style) {
  if (!ttfReady_) return nullptr;
  if (points < 1) points = 1;
  const auto key = std::make_tuple(face, points, style);
  if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;

  TTF_Font* font = nullptr;
  std::string file = ResolveFile(face, style);
  if (!file.empty()) font = TTF_OpenFontDPI(file.c_str(), points, 96, 96);
  if (font == nullptr) {
    // The matched file is unusable: any sans font will do.
    file = ResolveFile("sans-serif", style);
    if (!file.empty()) font = TTF_OpenFontDPI(file.c_str(), points, 96, 96);
  }
  if (font == nullptr) {
    std::fprintf(stderr, "No font for '%s'; its texts are not drawn\n", face.c_str());
  } else {
    int ttfStyle = 0;
    if (style & fsBold) {
      // Synthesise bold only when fontconfig found no bold face.
      const char* faceStyle = TTF_FontFaceStyleName(font);
      if (faceStyle == nullptr || std::string(faceStyle).find("Bold") == std::string::npos)
        ttfStyle |= TTF_STYLE_BOLD;
    }
    if (style & fsUnderline) ttfStyle |= TTF_STYLE_UNDERLINE;
    if (style & fsStrikeOut) ttfStyle |= TTF_STYLE_STRIKETHROUGH;
    TTF_SetFontStyle(font, ttfStyle);
    // Full hinting rounds every glyph's advance to a whole pixel on its own,
    // which at the help pages' small sizes opens visible gaps inside words
    // ("с оседнего"); light hinting with subpixel placement keeps the
    // letters' spacing as the font designed it.
    TTF_SetFontHinting(font, TTF_HINTING_LIGHT_SUBPIXEL);
  }
  fonts_[key] = font;
  return font;
}

const std::string& TFontLibrary::Utf8(const std::string& cp1251) {
  auto it = utf8_.find(cp1251);
  if (it == utf8_.end()) {
    if (utf8_.size() >= kMaxSizes) utf8_.clear();
    it = utf8_.emplace(cp1251, Cp1251ToUtf8(cp1251)).first;
  }
  return it->second;
}

SDL_Point TFontLibrary::TextSize(TTF_Font* font, const std::string& cp1251) {
  if (font == nullptr) return {0, 0};
  if (cp1251.empty()) return {0, TTF_FontHeight(font)};
  const auto key = std::make_pair(font, cp1251);
  if (auto it = sizes_.find(key); it != sizes_.end()) return it->second;
  SDL_Point size{0, TTF_FontHeight(font)};
  if (TTF_SizeUTF8(font, Utf8(cp1251).c_str(), &size.x, &size.y) != 0) size = {0, TTF_FontHeight(font)};
  if (sizes_.size() >= kMaxSizes) sizes_.clear();
  sizes_[key] = size;
  return size;
}

const TRenderedText* TFontLibrary::RenderText(TTF_Font* font, uint32_t color, const std::string& cp1251) {
  if (font == nullptr || cp1251.empty()) return nullptr;
  TextKey key{font, color, cp1251};
  if (auto it = rendered_.find(key); it != rendered_.end()) {
    ages_.splice(ages_.begin(), ages_, it->second.age);
    return &it->second.text;
  }
  const SDL_Color c{static_cast<uint8_t>(color), static_cast<uint8_t>(color >> 8),
                    static_cast<uint8_t>(color >> 16), 255};
  SDL_Surface* surface = TTF_RenderUTF8_Blended(font, Utf8(cp1251).c_str(), c);
  ++renderCount_;
  if (surface == nullptr) return nullptr;
  SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_BLEND);
  if (rendered_.size() >= kMaxRendered) {
    const TextKey& oldest = ages_.back();
    auto old = rendered_.find(oldest);
    SDL_FreeSurface(old->second.text.surface);
    rendered_.erase(old);
    ages_.pop_back();
  }
  ages_.push_front(key);
  const TRenderedText text{surface, InkBounds(*surface)};
  return &rendered_.emplace(std::move(key), TextEntry{text, ages_.begin()}).first->second.text;
}

}  // namespace bd
