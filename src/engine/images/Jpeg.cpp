#include "engine/images/Jpeg.h"

#include "engine/images/JpegErrorJump.h"

namespace bd {
namespace {

// The work between setjmp and the end of decoding. Its own locals never
// change after setjmp; everything it fills lives in the caller's frame.
int DecodeInto(std::span<const uint8_t> data, jpeg_decompress_struct* cinfo, JpegErrorManager* err,
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

}  // namespace

TDibImage DecodeJpeg(std::span<const uint8_t> data) {
  jpeg_decompress_struct cinfo{};
  JpegErrorManager err{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = JpegErrorExit;
  err.pub.emit_message = JpegIgnoreMessage;
  TDibImage img;
  std::vector<uint8_t> row;
  const int code = DecodeInto(data, &cinfo, &err, &img, &row);
  jpeg_destroy_decompress(&cinfo);
  if (code >= 0) throw EJPEG(Format("JPEG error #%d", code));
  return img;
}

}  // namespace bd
