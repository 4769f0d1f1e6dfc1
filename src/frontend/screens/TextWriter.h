#pragma once
// Texts drawn on the display over the sprites of a frame, in the game's face.

#include <cstdint>
#include <string>

namespace bd {

class IFrontEndHost;
class TCanvas;

constexpr uint32_t kTextBlack = 0x00000000;
constexpr uint32_t kTextWhite = 0x00FFFFFF;

// Holds the display's canvas for as long as it lives.
class TTextWriter {
 public:
  explicit TTextWriter(IFrontEndHost& host);
  ~TTextWriter();
  TTextWriter(const TTextWriter&) = delete;
  TTextWriter& operator=(const TTextWriter&) = delete;

  void Text(int x, int y, int size, const std::string& cp1251, uint32_t color = kTextBlack);
  // A text in a column `width` pixels wide: at `size` when it fits, else at
  // the largest smaller size that does, kept in the middle of the line.
  void FittedText(int x, int y, int size, const std::string& cp1251, int width);
  // The keys' focus, over the texts it frames.
  void FocusFrame();

 private:
  IFrontEndHost& host_;
  TCanvas& canvas_;
};

}  // namespace bd
