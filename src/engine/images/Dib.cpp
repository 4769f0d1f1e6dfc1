#include "engine/images/Dib.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <optional>

#include "engine/base/ByteReader.h"
#include "engine/images/DibFormat.h"

namespace bd {
namespace {

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
// carry the longer headers (IsLongHeaderSize).
enum class HeaderForms { Bare, File };

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

}  // namespace bd
