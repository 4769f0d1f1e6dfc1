#include "common/JpegWriter.h"

#include <cstdlib>
#include <stdexcept>

#include "engine/images/Jpeg.h"
#include "engine/images/JpegErrorJump.h"

namespace bd {
namespace {

int EncodeInto(const TPixels& px, int quality, jpeg_compress_struct* cinfo, JpegErrorManager* err,
               unsigned char** buffer, unsigned long* size, std::vector<uint8_t>* row) {
  if (setjmp(err->jump)) return err->pub.msg_code;
  jpeg_create_compress(cinfo);
  jpeg_mem_dest(cinfo, buffer, size);
  cinfo->image_width = static_cast<JDIMENSION>(px.Width);
  cinfo->image_height = static_cast<JDIMENSION>(px.Height);
  cinfo->input_components = 3;
  cinfo->in_color_space = JCS_RGB;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, quality, TRUE);
  jpeg_start_compress(cinfo, TRUE);
  while (cinfo->next_scanline < cinfo->image_height) {
    const uint32_t* in = px.Colors.data() + static_cast<size_t>(cinfo->next_scanline) * px.Width;
    uint8_t* out = row->data();
    for (int32_t x = 0; x < px.Width; ++x) {
      out[3 * x] = static_cast<uint8_t>(in[x]);  // red is the low byte
      out[3 * x + 1] = static_cast<uint8_t>(in[x] >> 8);
      out[3 * x + 2] = static_cast<uint8_t>(in[x] >> 16);
    }
    JSAMPROW rows[1] = {out};
    jpeg_write_scanlines(cinfo, rows, 1);
  }
  jpeg_finish_compress(cinfo);
  return -1;
}

}  // namespace

std::vector<uint8_t> EncodeJpeg(const TPixels& px, int quality) {
  if (px.Width <= 0 || px.Height <= 0 || px.Colors.size() != static_cast<size_t>(px.Width) * px.Height)
    throw std::invalid_argument("a JPEG needs at least one pixel and a matching pixel count");
  jpeg_compress_struct cinfo{};
  JpegErrorManager err{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = JpegErrorExit;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  std::vector<uint8_t> row(static_cast<size_t>(px.Width) * 3);
  const int code = EncodeInto(px, quality, &cinfo, &err, &buffer, &size, &row);
  std::vector<uint8_t> out;
  if (code < 0) out.assign(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  if (code >= 0) throw EJPEG(Format("JPEG error #%d", code));
  return out;
}

}  // namespace bd
