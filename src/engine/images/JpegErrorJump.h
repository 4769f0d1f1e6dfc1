#pragma once
// libjpeg reports fatal errors through error_exit, which must not return:
// the handler here jumps back to the caller's setjmp, which turns the error
// number into an exception. Shared by the decoder and the tools' encoder.

#include <csetjmp>
#include <cstdio>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace bd {

struct JpegErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] inline void JpegErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
  std::longjmp(err->jump, 1);
}

// Warnings (such as data ending early, which libjpeg fills in grey) do not stop decoding.
inline void JpegIgnoreMessage(j_common_ptr, int) {}

}  // namespace bd
