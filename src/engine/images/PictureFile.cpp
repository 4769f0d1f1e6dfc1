#include "engine/images/PictureFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "engine/images/Dib.h"
#include "engine/base/Errors.h"
#include "engine/images/Jpeg.h"

namespace bd {

namespace {

// The largest picture the readers accept, as a 32-bit bitmap, plus its headers
// and a colour table; a file beyond that is not read into memory at all.
constexpr uintmax_t kMaxPictureFileBytes = static_cast<uintmax_t>(kMaxPicturePixels) * 4 + 4096;

std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    const int err = errno;
    throw EFOpenError(Format("Cannot open file \"%s\". %s", path.string().c_str(), std::strerror(err)));
  }
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kMaxPictureFileBytes) throw EInvalidGraphic(kDibInvalid);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
    throw EFOpenError(Format("Cannot open file \"%s\". Read error", path.string().c_str()));
  return bytes;
}

}  // namespace

std::unique_ptr<TDirectDrawSurface> LoadPictureFile(const std::filesystem::path& path) {
  const std::vector<uint8_t> bytes = ReadWholeFile(path);
  TDibImage image;
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
    image = DecodeBmpFile(bytes);
  else if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8)
    image = DecodeJpeg(bytes);
  else
    throw EInvalidGraphic(kDibInvalid);
  if (image.Width <= 0 || image.Height <= 0) throw EInvalidGraphic(kDibInvalid);

  auto surface = std::make_unique<TDirectDrawSurface>(image.Width, image.Height);
  SDL_Surface* s = surface->Sdl();
  // Decoded pixels are already XRGB8888, rows from the top.
  for (int32_t y = 0; y < image.Height; ++y)
    std::memcpy(static_cast<uint8_t*>(s->pixels) + static_cast<ptrdiff_t>(y) * s->pitch,
                image.Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(image.Width),
                static_cast<size_t>(image.Width) * sizeof(uint32_t));
  return surface;
}

}  // namespace bd
