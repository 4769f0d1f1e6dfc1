#include "common/Png.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>

namespace bd {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void Put32BE(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}

void Chunk(std::vector<uint8_t>& out, const char* type, std::span<const uint8_t> body) {
  Put32BE(out, static_cast<uint32_t>(body.size()));
  const size_t start = out.size();
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(type[i]));
  out.insert(out.end(), body.begin(), body.end());
  const uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
  Put32BE(out, static_cast<uint32_t>(crc));
}

uint32_t Get32BE(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

int Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

}  // namespace

std::vector<uint8_t> EncodePng(int32_t width, int32_t height, std::span<const uint32_t> pixels) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
    throw EPngError("a PNG needs at least one pixel and a matching pixel count");
  std::vector<uint8_t> raw;
  raw.reserve((static_cast<size_t>(width) * 3 + 1) * height);
  for (int32_t y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
      raw.push_back(static_cast<uint8_t>(p >> 16));
      raw.push_back(static_cast<uint8_t>(p >> 8));
      raw.push_back(static_cast<uint8_t>(p));
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6) != Z_OK)
    throw EPngError("compression failed");
  packed.resize(packedSize);

  std::vector<uint8_t> out(std::begin(kSignature), std::end(kSignature));
  std::vector<uint8_t> header;
  Put32BE(header, static_cast<uint32_t>(width));
  Put32BE(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter set, no interlace
  Chunk(out, "IHDR", header);
  Chunk(out, "IDAT", packed);
  Chunk(out, "IEND", {});
  return out;
}

TDibImage DecodePng(std::span<const uint8_t> data) {
  if (data.size() < 8 || std::memcmp(data.data(), kSignature, 8) != 0) throw EPngError("not a PNG file");
  size_t pos = 8;
  uint32_t width = 0, height = 0;
  int depth = 0, colorType = -1;
  std::vector<uint8_t> idat;
  std::vector<uint32_t> palette;
  for (;;) {
    if (data.size() - pos < 12) throw EPngError("PNG data ends early");
    const uint32_t len = Get32BE(&data[pos]);
    if (len > data.size() - pos - 12) throw EPngError("PNG chunk runs past the end");
    const std::string type(reinterpret_cast<const char*>(&data[pos + 4]), 4);
    const uint8_t* body = &data[pos + 8];
    pos += 12 + len;
    if (type == "IHDR") {
      if (len < 13) throw EPngError("short PNG header");
      width = Get32BE(body);
      height = Get32BE(body + 4);
      depth = body[8];
      colorType = body[9];
      if (body[12] != 0) throw EPngError("interlaced PNGs are not supported");
    } else if (type == "PLTE") {
      for (uint32_t i = 0; i + 2 < len; i += 3)
        palette.push_back((uint32_t{body[i]} << 16) | (uint32_t{body[i + 1]} << 8) | body[i + 2]);
    } else if (type == "IDAT") {
      idat.insert(idat.end(), body, body + len);
    } else if (type == "IEND") {
      break;
    }
  }
  int channels = 0;
  switch (colorType) {
    case 0:
    case 3:
      channels = 1;
      break;
    case 2:
      channels = 3;
      break;
    case 4:
      channels = 2;
      break;
    case 6:
      channels = 4;
      break;
    default:
      throw EPngError("unknown PNG colour type");
  }
  if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16)
    throw EPngError("bad PNG bit depth");
  if (width == 0 || height == 0 || uint64_t{width} * height > static_cast<uint64_t>(kMaxPicturePixels))
    throw EPngError("bad PNG size");
  const size_t bitsPerPixel = static_cast<size_t>(channels) * depth;
  const size_t stride = (width * bitsPerPixel + 7) / 8;
  const size_t bpp = std::max<size_t>(1, bitsPerPixel / 8);
  std::vector<uint8_t> raw((stride + 1) * height);
  uLongf rawSize = static_cast<uLongf>(raw.size());
  if (uncompress(raw.data(), &rawSize, idat.data(), static_cast<uLong>(idat.size())) != Z_OK ||
      rawSize != raw.size())
    throw EPngError("bad PNG image data");

  TDibImage img;
  img.Width = static_cast<int32_t>(width);
  img.Height = static_cast<int32_t>(height);
  img.BitCount = static_cast<int32_t>(bitsPerPixel);
  img.ColorTable = palette;
  img.Pixels.resize(static_cast<size_t>(width) * height);
  std::vector<uint8_t> prev(stride, 0), cur(stride);
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* line = &raw[y * (stride + 1)];
    const uint8_t filter = line[0];
    for (size_t i = 0; i < stride; ++i) {
      const int a = i >= bpp ? cur[i - bpp] : 0, b = prev[i], c = i >= bpp ? prev[i - bpp] : 0;
      int v = line[1 + i];
      switch (filter) {
        case 0:
          break;
        case 1:
          v += a;
          break;
        case 2:
          v += b;
          break;
        case 3:
          v += (a + b) / 2;
          break;
        case 4:
          v += Paeth(a, b, c);
          break;
        default:
          throw EPngError("bad PNG filter");
      }
      cur[i] = static_cast<uint8_t>(v);
    }
    auto sample = [&](uint32_t x, int ch) -> uint32_t {
      const size_t bit = (static_cast<size_t>(x) * channels + ch) * depth;
      if (depth == 16) return cur[bit / 8];  // the high byte
      if (depth == 8) return cur[bit / 8];
      return (cur[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
    };
    for (uint32_t x = 0; x < width; ++x) {
      uint32_t r, g, b;
      if (colorType == 3) {
        const uint32_t i = sample(x, 0);
        const uint32_t p = i < palette.size() ? palette[i] : 0;
        r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      } else if (colorType == 0 || colorType == 4) {
        uint32_t v = sample(x, 0);
        if (depth < 8) v = v * 255 / ((1u << depth) - 1);
        r = g = b = v;
      } else {
        r = sample(x, 0), g = sample(x, 1), b = sample(x, 2);
      }
      img.Pixels[static_cast<size_t>(y) * width + x] = (r << 16) | (g << 8) | b;
    }
    std::swap(prev, cur);
  }
  return img;
}

}  // namespace bd
