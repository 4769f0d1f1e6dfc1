#include "common/DibWriter.h"

#include <stdexcept>
#include <unordered_map>

#include "common/ByteWriter.h"
#include "engine/images/DibFormat.h"

namespace bd {

namespace {

int Distance(uint32_t a, uint32_t b) {
  int d = 0;
  for (int s = 0; s < 24; s += 8) {
    const int c = static_cast<int>((a >> s) & 0xFF) - static_cast<int>((b >> s) & 0xFF);
    d += c * c;
  }
  return d;
}

std::vector<uint8_t> Indices(const TPixels& px, std::vector<uint32_t>& palette) {
  std::unordered_map<uint32_t, uint8_t> index;
  const bool given = !palette.empty();
  if (palette.size() > 256) throw std::invalid_argument("a colour table has at most 256 entries");
  for (size_t i = palette.size(); i-- > 0;) index[palette[i] & 0xFFFFFF] = static_cast<uint8_t>(i);
  std::vector<uint8_t> out;
  out.reserve(px.Colors.size());
  for (uint32_t c : px.Colors) {
    c &= 0xFFFFFF;
    auto it = index.find(c);
    if (it == index.end()) {
      uint8_t best = 0;
      if (given) {
        for (size_t i = 1; i < palette.size(); ++i)
          if (Distance(palette[i], c) < Distance(palette[best], c)) best = static_cast<uint8_t>(i);
      } else {
        if (palette.size() == 256) throw std::invalid_argument("more than 256 colours for an 8-bit bitmap");
        best = static_cast<uint8_t>(palette.size());
        palette.push_back(c);
      }
      it = index.emplace(c, best).first;
    }
    out.push_back(it->second);
  }
  return out;
}

void EncodeRle8Row(std::vector<uint8_t>& out, const uint8_t* row, int32_t w) {
  int32_t x = 0;
  while (x < w) {
    int32_t run = 1;
    while (x + run < w && run < 255 && row[x + run] == row[x]) ++run;
    if (run >= 3 || w - x < 3) {
      out.push_back(static_cast<uint8_t>(run));
      out.push_back(row[x]);
      x += run;
      continue;
    }
    // A literal stretch up to the next run of three equal indices.
    int32_t len = 0;
    while (x + len < w && len < 255) {
      if (x + len + 2 < w && row[x + len] == row[x + len + 1] && row[x + len] == row[x + len + 2]) break;
      ++len;
    }
    if (len < 3) {  // literal runs need at least three pixels
      for (int32_t i = 0; i < len; ++i) {
        out.push_back(1);
        out.push_back(row[x + i]);
      }
    } else {
      out.push_back(0);
      out.push_back(static_cast<uint8_t>(len));
      out.insert(out.end(), row + x, row + x + len);
      if (len & 1) out.push_back(0);
    }
    x += len;
  }
}

}  // namespace

std::vector<uint8_t> EncodeDib(const TPixels& px, const TDibOptions& options) {
  if (px.Width < 0 || px.Height < 0 || px.Colors.size() != static_cast<size_t>(px.Width) * px.Height)
    throw std::invalid_argument("pixel count does not match the size");
  const bool paletted = options.Format == TDibFormat::Pal8 || options.Format == TDibFormat::Pal8Rle;
  const bool rle = options.Format == TDibFormat::Pal8Rle;
  const bool topDown = options.TopDown && !rle;
  const int bits = paletted ? 8 : options.Format == TDibFormat::Rgb24 ? 24 : 32;
  std::vector<uint32_t> palette = options.Palette;
  std::vector<uint8_t> indices;
  if (paletted) {
    indices = Indices(px, palette);
    if (palette.empty()) palette.push_back(0);  // a count of 0 would mean 256 entries
  }

  std::vector<uint8_t> pixels;
  const size_t stride = ((static_cast<size_t>(px.Width) * bits + 31) / 32) * 4;
  for (int32_t i = 0; i < px.Height; ++i) {
    const int32_t y = topDown ? i : px.Height - 1 - i;
    const size_t base = static_cast<size_t>(y) * px.Width;
    if (rle) {
      EncodeRle8Row(pixels, indices.data() + base, px.Width);
      pixels.push_back(0);
      pixels.push_back(i + 1 == px.Height ? 1 : 0);  // end of line, or end of bitmap
      continue;
    }
    const size_t start = pixels.size();
    for (int32_t x = 0; x < px.Width; ++x) {
      const uint32_t c = px.Colors[base + x];
      if (paletted) {
        pixels.push_back(indices[base + x]);
      } else {
        pixels.push_back(static_cast<uint8_t>(c >> 16));  // blue
        pixels.push_back(static_cast<uint8_t>(c >> 8));
        pixels.push_back(static_cast<uint8_t>(c));
        if (bits == 32) pixels.push_back(0);
      }
    }
    pixels.resize(start + stride, 0);
  }
  if (rle && px.Height == 0) pixels = {0, 1};

  std::vector<uint8_t> out;
  PutLe32(out, 40);
  PutLe32(out, static_cast<uint32_t>(px.Width));
  PutLe32(out, static_cast<uint32_t>(topDown ? -px.Height : px.Height));
  PutLe16(out, 1);
  PutLe16(out, static_cast<uint32_t>(bits));
  PutLe32(out, rle ? kBiRle8 : kBiRgb);
  PutLe32(out, static_cast<uint32_t>(pixels.size()));
  PutLe32(out, 2835);  // 72 dots per inch
  PutLe32(out, 2835);
  PutLe32(out, paletted ? static_cast<uint32_t>(palette.size()) : 0);
  PutLe32(out, 0);
  for (uint32_t c : palette) {
    out.push_back(static_cast<uint8_t>(c >> 16));
    out.push_back(static_cast<uint8_t>(c >> 8));
    out.push_back(static_cast<uint8_t>(c));
    out.push_back(0);
  }
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

std::vector<uint8_t> EncodeBmpFile(const TPixels& px, const TDibOptions& options, uint32_t headerSize) {
  if (headerSize != 40 && !IsLongHeaderSize(headerSize))
    throw std::invalid_argument("no such bitmap header size");
  std::vector<uint8_t> dib = EncodeDib(px, options);
  // A longer header is the 40-byte one with its size changed and more fields
  // after it: masks 0; from 108 bytes on the colour space "sRGB"; at 124
  // bytes the "pictures" rendering intent (4); no profile.
  dib[0] = static_cast<uint8_t>(headerSize);
  std::vector<uint8_t> more(headerSize - 40, 0);
  if (headerSize >= 108) more[16] = 'B', more[17] = 'G', more[18] = 'R', more[19] = 's';
  if (headerSize == 124) more[68] = 4;
  dib.insert(dib.begin() + 40, more.begin(), more.end());
  const bool paletted = options.Format == TDibFormat::Pal8 || options.Format == TDibFormat::Pal8Rle;
  // Pixels start after the header and the colour table.
  uint32_t tableEntries = 0;
  if (paletted)
    tableEntries = dib[32] | (dib[33] << 8) | (dib[34] << 16) | (static_cast<uint32_t>(dib[35]) << 24);
  std::vector<uint8_t> out = {'B', 'M'};
  PutLe32(out, static_cast<uint32_t>(14 + dib.size()));
  PutLe32(out, 0);
  PutLe32(out, 14 + headerSize + tableEntries * 4);
  out.insert(out.end(), dib.begin(), dib.end());
  return out;
}

}  // namespace bd
