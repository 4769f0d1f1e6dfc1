#include "engine/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace bd {
namespace {

// libjpeg reports fatal errors through error_exit, which must not return:
// jump back to the caller, which turns the error number into an exception.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

void ErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  std::longjmp(err->jump, 1);
}

// Warnings (such as data ending early, which libjpeg fills in grey) do not stop decoding.
void EmitMessage(j_common_ptr, int) {}

}  // namespace

namespace {

// The work between setjmp and the end of decoding. Its own locals never
// change after setjmp; everything it fills lives in the caller's frame.
int DecodeInto(std::span<const uint8_t> data, jpeg_decompress_struct* cinfo, ErrorManager* err,
               TDibImage* img, std::vector<uint8_t>* row) {
  if (setjmp(err->jump)) return err->pub.msg_code;
  jpeg_create_decompress(cinfo);
  cinfo->mem->max_memory_to_use = 256L << 20;
  jpeg_mem_src(cinfo, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(cinfo, TRUE);
  if (int64_t{cinfo->image_width} * cinfo->image_height > kMaxPicturePixels)
    ERREXIT1(cinfo, JERR_IMAGE_TOO_BIG, static_cast<unsigned>(kMaxPicturePixels));
  cinfo->out_color_space = JCS_RGB;
  jpeg_start_decompress(cinfo);
  img->Width = static_cast<int32_t>(cinfo->output_width);
  img->Height = static_cast<int32_t>(cinfo->output_height);
  img->BitCount = 24;
  img->Pixels.resize(static_cast<size_t>(img->Width) * img->Height);
  row->resize(static_cast<size_t>(img->Width) * 3);
  while (cinfo->output_scanline < cinfo->output_height) {
    JSAMPROW rows[1] = {row->data()};
    const size_t y = cinfo->output_scanline;
    jpeg_read_scanlines(cinfo, rows, 1);
    uint32_t* out = img->Pixels.data() + y * img->Width;
    const uint8_t* in = row->data();
    for (int32_t x = 0; x < img->Width; ++x)
      out[x] = (uint32_t{in[3 * x]} << 16) | (uint32_t{in[3 * x + 1]} << 8) | in[3 * x + 2];
  }
  jpeg_finish_decompress(cinfo);
  return -1;
}

int EncodeInto(const TPixels& px, int quality, jpeg_compress_struct* cinfo, ErrorManager* err,
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

TDibImage DecodeJpeg(std::span<const uint8_t> data) {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.emit_message = EmitMessage;
  TDibImage img;
  std::vector<uint8_t> row;
  const int code = DecodeInto(data, &cinfo, &err, &img, &row);
  jpeg_destroy_decompress(&cinfo);
  if (code >= 0) throw EJPEG(Format("JPEG error #%d", code));
  return img;
}

std::vector<uint8_t> EncodeJpeg(const TPixels& px, int quality) {
  if (px.Width <= 0 || px.Height <= 0 || px.Colors.size() != static_cast<size_t>(px.Width) * px.Height)
    throw std::invalid_argument("a JPEG needs at least one pixel and a matching pixel count");
  jpeg_compress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
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
