#include "Archives.h"

#include "Quantize.h"
#include "common/ArchiveWriter.h"
#include "common/JpegWriter.h"
#include "engine/images/Dib.h"
#include "engine/images/Jpeg.h"

namespace bd::art {

namespace {

uint32_t Swap(uint32_t rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

TPixels Pixels(const Raster& r) {
  TPixels p{r.w, r.h, {}};
  p.Colors.reserve(r.px.size());
  for (uint32_t c : r.px) p.Colors.push_back(Swap(c));
  return p;
}

TDibOptions Options(const ArtItem& it) {
  TDibOptions o;
  switch (it.encoding) {
    case Encoding::Dib8:
    case Encoding::Dib8TopDown:
    case Encoding::Dib8Rle:
      o.Format = it.encoding == Encoding::Dib8Rle ? TDibFormat::Pal8Rle : TDibFormat::Pal8;
      o.TopDown = it.encoding == Encoding::Dib8TopDown;
      for (uint32_t c : MedianCut(it.pic.px, 256, kKeyRgb)) o.Palette.push_back(Swap(c));
      break;
    case Encoding::Dib32:
      o.Format = TDibFormat::Rgb32;
      break;
    default:
      o.Format = TDibFormat::Rgb24;
      break;
  }
  return o;
}

}  // namespace

std::vector<uint8_t> BitmapFile(const Raster& r) { return EncodeBmpFile(Pixels(r)); }
std::vector<uint8_t> JpegFile(const Raster& r, int quality) { return EncodeJpeg(Pixels(r), quality); }

std::vector<uint8_t> BuildImageArchive(const std::vector<ArtItem>& items) {
  TImageArchive archive;
  for (const ArtItem& it : items) {
    TImageArchiveItem out;
    out.Name = it.name;
    if (it.patternWidth > 0) out.PatternWidth = it.patternWidth;
    if (it.patternHeight > 0) out.PatternHeight = it.patternHeight;
    switch (it.key) {
      case KeyStyle::Identifier:  // Transparent stays at its default, true
        out.TransparentColor = std::string("clFuchsia");
        break;
      case KeyStyle::Number:
        out.Transparent = true;
        out.TransparentColor = uint32_t{Swap(kKeyRgb)};
        break;
      case KeyStyle::None:
        out.Transparent = false;
        break;
    }
    const TPixels px = Pixels(it.pic);
    switch (it.encoding) {
      case Encoding::Jpeg:
        out.Picture = TPictureData::Jpeg(EncodeJpeg(px, 90));
        break;
      case Encoding::BitmapFile:
        out.Picture = TPictureData::Bitmap(EncodeBmpFile(px, Options(it)));
        break;
      default:
        out.Picture = TPictureData::Dib(EncodeDib(px, Options(it)));
        break;
    }
    archive.Items.push_back(std::move(out));
  }
  return WriteImageArchive(archive);
}

std::vector<uint8_t> BuildSoundArchive(const std::vector<synth::SoundItem>& sounds) {
  std::vector<TSoundArchiveItem> items;
  for (const synth::SoundItem& s : sounds) {
    TSoundArchiveItem it;
    it.Name = s.name;
    if (s.looped) it.Looped = true;
    if (s.maxPlayingCount != 0) it.MaxPlayingCount = s.maxPlayingCount;
    it.Wave = s.wave;
    items.push_back(std::move(it));
  }
  return WriteSoundArchive(items);
}

}  // namespace bd::art
