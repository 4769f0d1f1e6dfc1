#pragma once
// Scalable fonts by face name. The game asks for Windows face names ("Arial
// Cyr", "Arial", "Verdana"); they are mapped through fontconfig aliases to
// metric-compatible free fonts, and any sans font stands in when those are
// missing. Rendered texts are cached, since the same strings are drawn every
// frame.

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <list>
#include <map>
#include <string>
#include <tuple>
#include <unordered_map>

namespace bd {

// Font styles, combinable.
enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A text rendered with a transparent background, and the part of it that
// has any ink: blending pixels without ink leaves the background as it is,
// so only that part needs drawing.
struct TRenderedText {
  SDL_Surface* surface = nullptr;
  SDL_Rect ink{0, 0, 0, 0};  // empty for a text of blanks
};

class TFontLibrary {
 public:
  // The one library of the process (font rendering state is global).
  static TFontLibrary& Instance();

  // The font file fontconfig picks for a face name (after the game's
  // aliases); empty when there is no font at all.
  std::string ResolveFile(const std::string& face, uint8_t style);

  // An open font of `points` at 96 dots per inch, or null when no font can
  // be opened. Owned by the library.
  TTF_Font* Font(const std::string& face, int points, uint8_t style);

  // Width and height of a Windows-1251 text; (0, font height) for "".
  SDL_Point TextSize(TTF_Font* font, const std::string& cp1251);

  // The text rendered in a colour (0x00BBGGRR) with a transparent
  // background, or null for "" or a failed rendering. Owned by the cache;
  // valid until the next call.
  const TRenderedText* RenderText(TTF_Font* font, uint32_t color, const std::string& cp1251);

  // Counts cache misses, so that callers can see that repeated texts are
  // not rendered again.
  uint64_t RenderCount() const { return renderCount_; }

  TFontLibrary(const TFontLibrary&) = delete;
  TFontLibrary& operator=(const TFontLibrary&) = delete;

 private:
  TFontLibrary();
  ~TFontLibrary();
  const std::string& Utf8(const std::string& cp1251);

  struct TextKey {
    TTF_Font* font;
    uint32_t color;
    std::string text;
    bool operator<(const TextKey& o) const {
      return std::tie(font, color, text) < std::tie(o.font, o.color, o.text);
    }
  };
  struct TextEntry {
    TRenderedText text;
    std::list<TextKey>::iterator age;
  };

  void* config_ = nullptr;  // FcConfig*
  bool ttfReady_ = false;
  std::map<std::tuple<std::string, int, uint8_t>, TTF_Font*> fonts_;
  std::map<TextKey, TextEntry> rendered_;
  std::list<TextKey> ages_;  // most recently used first
  std::map<std::pair<TTF_Font*, std::string>, SDL_Point> sizes_;
  std::unordered_map<std::string, std::string> utf8_;
  uint64_t renderCount_ = 0;
};

}  // namespace bd
