#include "engine/Dib.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <optional>
#include <stdexcept>
#include <unordered_map>

#include "engine/ByteReader.h"
#include "engine/ByteWriter.h"

namespace bd {
namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;

[[noreturn]] void Invalid() { throw EInvalidGraphic(kDibInvalid); }

// One colour channel taken out of a pixel by its mask and widened to 8 bits
// (a 5-bit 31 becomes 255, not 248).
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint64_t max = 0;

  explicit Channel(uint32_t m) : mask(m) {
    if (m != 0) {
      shift = std::countr_zero(m);
      max = m >> shift;
    }
  }
  uint32_t Get(uint32_t v) const {
    if (max == 0) return 0;
    const uint64_t c = (v & mask) >> shift;
    if (max == 255) return static_cast<uint32_t>(c);
    return static_cast<uint32_t>((c * 255 + max / 2) / max);
  }
};

// The header forms a reader takes. A bare bitmap ("TDIB" pictures) has the
// 40-byte header or the 12-byte old-style one. A whole bitmap file may also
// carry the longer headers that image editors write today: 52 bytes (colour
// masks inside the header), 56 (plus an alpha mask), 108 (plus colour space
// and gamma) and 124 (plus rendering intent and a colour profile). Their
// first 40 bytes read like the 40-byte header.
enum class HeaderForms { Bare, File };

bool IsLongHeaderSize(uint32_t size) { return size == 52 || size == 56 || size == 108 || size == 124; }

struct Header {
  uint32_t size = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool topDown = false;
  uint16_t bits = 0;
  uint32_t compression = kBiRgb;
  uint32_t colorsUsed = 0;
  uint32_t masks[3] = {0, 0, 0};
};

Header ReadHeader(TByteReader& r, HeaderForms forms) {
  Header h;
  h.size = r.U32();
  if (h.size == 12) {
    h.width = r.U16();
    h.height = r.U16();
    r.U16();  // planes
    h.bits = r.U16();
  } else if (h.size == 40 || (forms == HeaderForms::File && IsLongHeaderSize(h.size))) {
    h.width = r.I32();
    h.height = r.I32();
    r.U16();  // planes
    h.bits = r.U16();
    h.compression = r.U32();
    r.Skip(12);  // image size and resolution: not needed to read the pixels
    h.colorsUsed = r.U32();
    r.U32();  // important colours
  } else {
    Invalid();
  }
  switch (h.bits) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      Invalid();
  }
  switch (h.compression) {
    case kBiRgb:
      break;
    case kBiRle8:
      if (h.bits != 8) Invalid();
      break;
    case kBiRle4:
      if (h.bits != 4) Invalid();
      break;
    case kBiBitfields:
      if (h.bits != 16 && h.bits != 32) Invalid();
      break;
    default:
      Invalid();
  }
  if (h.width < 0 || h.height == std::numeric_limits<int32_t>::min()) Invalid();
  if (h.height < 0) {
    // Run-length data always starts at the bottom row.
    if (h.compression == kBiRle8 || h.compression == kBiRle4) Invalid();
    h.topDown = true;
    h.height = -h.height;
  }
  if (int64_t{h.width} * h.height > kMaxPicturePixels) Invalid();
  // The red, green and blue masks follow a 40-byte header and sit inside a
  // long one; either way they count only with bit-mask compression. A long
  // header's alpha mask and everything after it (colour space, gamma,
  // rendering intent, profile) are passed over: the game's surfaces are
  // opaque with a colour key, so colours are taken as stored and whatever
  // alpha a pixel carries is dropped.
  uint32_t masks[3] = {0, 0, 0};
  if (h.size > 40 || h.compression == kBiBitfields)
    for (auto& m : masks) m = r.U32();
  if (h.size > 40) r.Skip(h.size - 52);
  if (h.compression == kBiBitfields) {
    std::copy(std::begin(masks), std::end(masks), h.masks);
  } else if (h.bits == 16) {
    h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
  } else if (h.bits == 32) {
    h.masks[0] = 0xFF0000, h.masks[1] = 0x00FF00, h.masks[2] = 0x0000FF;
  }
  return h;
}

std::vector<uint32_t> ReadColorTable(TByteReader& r, const Header& h) {
  uint64_t count = h.colorsUsed;
  if (count == 0 && h.bits <= 8) count = uint64_t{1} << h.bits;
  const uint64_t kept = std::min<uint64_t>(count, 256);
  const unsigned entrySize = h.size == 12 ? 3 : 4;
  std::vector<uint32_t> table;
  table.reserve(kept);
  for (uint64_t i = 0; i < kept; ++i) {
    const uint8_t b = r.U8(), g = r.U8(), red = r.U8();
    if (entrySize == 4) r.U8();
    table.push_back(b | (g << 8) | (red << 16));
  }
  r.Skip((count - kept) * entrySize);  // entries past 256 are not kept
  return table;
}

class Canvas {
 public:
  Canvas(TDibImage& img, const std::vector<uint32_t>& table, bool topDown)
      : img_(img), table_(table), topDown_(topDown) {}

  uint32_t Lookup(uint32_t index) const { return index < table_.size() ? table_[index] : 0; }
  // Row y counted in file order (from the bottom unless top-down).
  uint32_t* Row(int64_t y) {
    const int64_t row = topDown_ ? y : img_.Height - 1 - y;
    return img_.Pixels.data() + row * img_.Width;
  }
  void PutIndex(int64_t x, int64_t y, uint32_t index) {
    if (x >= 0 && x < img_.Width && y >= 0 && y < img_.Height) Row(y)[x] = Lookup(index);
  }

 private:
  TDibImage& img_;
  const std::vector<uint32_t>& table_;
  bool topDown_;
};

uint64_t Stride(const Header& h) {
  return ((uint64_t{static_cast<uint32_t>(h.width)} * h.bits + 31) / 32) * 4;
}

void DecodeUncompressed(TByteReader& r, const Header& h, TDibImage& img, Canvas& canvas) {
  const uint64_t stride = Stride(h);
  const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]);
  for (int64_t y = 0; y < img.Height; ++y) {
    const uint8_t* src = r.Bytes(stride).data();
    uint32_t* out = canvas.Row(y);
    for (int64_t x = 0; x < img.Width; ++x) {
      switch (h.bits) {
        case 1:
          out[x] = canvas.Lookup((src[x >> 3] >> (7 - (x & 7))) & 1);
          break;
        case 4:
          out[x] = canvas.Lookup((src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
          break;
        case 8:
          out[x] = canvas.Lookup(src[x]);
          break;
        case 16: {
          const uint32_t v = src[2 * x] | (src[2 * x + 1] << 8);
          out[x] = (red.Get(v) << 16) | (green.Get(v) << 8) | blue.Get(v);
          break;
        }
        case 24:
          out[x] = src[3 * x] | (src[3 * x + 1] << 8) | (src[3 * x + 2] << 16);
          break;
        default: {
          const uint8_t* p = src + 4 * x;
          const uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
          out[x] = (red.Get(v) << 16) | (green.Get(v) << 8) | blue.Get(v);
        }
      }
    }
  }
}

// Run-length data: pixels a code skips keep colour index 0; runs that leave
// the bitmap are cut off at its edges; the data may end without an
// end-of-bitmap code.
void DecodeRle(TByteReader& r, const Header& h, Canvas& canvas) {
  const bool four = h.compression == kBiRle4;
  int64_t x = 0, y = 0;
  while (r.Remaining() >= 2 && y < h.height) {
    const uint8_t n = r.U8(), c = r.U8();
    if (n > 0) {
      for (int i = 0; i < n; ++i, ++x) canvas.PutIndex(x, y, four ? ((i & 1) ? c & 0xF : c >> 4) : c);
    } else if (c == 0) {
      x = 0, ++y;
    } else if (c == 1) {
      break;
    } else if (c == 2) {
      if (r.Remaining() < 2) break;
      x += r.U8();
      y += r.U8();
    } else {
      const uint64_t bytes = four ? (c + 1u) / 2 : c;
      if (bytes > r.Remaining()) break;
      const auto data = r.Bytes(bytes);
      for (int i = 0; i < c; ++i, ++x)
        canvas.PutIndex(x, y, four ? ((i & 1) ? data[i / 2] & 0xF : data[i / 2] >> 4) : data[i]);
      if ((bytes & 1) && r.Remaining() > 0) r.U8();  // runs are padded to whole 16-bit words
    }
  }
}

TDibImage Decode(std::span<const uint8_t> data, std::optional<uint64_t> pixelOffset, HeaderForms forms) {
  TDibImage img;
  if (data.empty()) return img;
  TByteReader r(data);
  const Header h = ReadHeader(r, forms);
  const std::vector<uint32_t> table = ReadColorTable(r, h);
  if (pixelOffset) r.Seek(*pixelOffset <= r.Size() ? static_cast<size_t>(*pixelOffset) : r.Size() + 1);
  const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
  // Rows that are not there end the read before any memory is taken for them.
  if (!rle && Stride(h) * static_cast<uint64_t>(h.height) > r.Remaining()) TByteReader::Fail();
  img.Width = h.width;
  img.Height = h.height;
  img.BitCount = h.bits;
  img.ColorTable = table;
  img.Pixels.assign(static_cast<size_t>(int64_t{h.width} * h.height), table.empty() ? 0 : table[0]);
  // A picture without area has nothing to decode; walking millions of empty
  // rows of a zero-wide picture would only waste time.
  if (img.Pixels.empty()) return img;
  Canvas canvas(img, img.ColorTable, h.topDown);
  if (rle)
    DecodeRle(r, h, canvas);
  else
    DecodeUncompressed(r, h, img, canvas);
  return img;
}

}  // namespace

TDibImage DecodeDib(std::span<const uint8_t> data) { return Decode(data, std::nullopt, HeaderForms::Bare); }

TDibImage DecodeBmpFile(std::span<const uint8_t> data) {
  TByteReader r(data);
  if (r.U8() != 'B' || r.U8() != 'M') Invalid();
  r.Skip(8);  // file size and reserved words: often wrong in the wild
  const uint32_t offBits = r.U32();
  auto dib = data.subspan(14);
  if (dib.empty()) TByteReader::Fail();
  // An offset that points into the headers is ignored: the pixels then
  // follow the colour table.
  std::optional<uint64_t> offset;
  if (offBits >= 14 + 12) offset = offBits - 14;
  TByteReader header(dib);
  const uint32_t headerSize = header.U32();
  if (offset && *offset < headerSize) offset.reset();
  return Decode(dib, offset, HeaderForms::File);
}

// --- Encoding ---

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
