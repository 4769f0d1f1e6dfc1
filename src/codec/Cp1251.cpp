#include "codec/Cp1251.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace bd {
namespace {

std::string Convert(std::string_view text, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  }
  std::string out;
  out.resize(text.size() * 4 + 4);
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) break;
    if (errno == EILSEQ || errno == EINVAL) {
      // An unmappable or broken sequence: emit '?' and skip one input byte
      // (for UTF-8 input, the whole sequence).
      if (outLeft == 0) break;
      *outPtr++ = '?';
      --outLeft;
      size_t skip = 1;
      const auto lead = static_cast<unsigned char>(*in);
      if (std::string_view(from) == "UTF-8") {
        if (lead >= 0xF0) skip = 4;
        else if (lead >= 0xE0) skip = 3;
        else if (lead >= 0xC0) skip = 2;
      }
      if (skip > inLeft) skip = inLeft;
      in += skip;
      inLeft -= skip;
    } else {
      break;
    }
  }
  out.resize(out.size() - outLeft);
  iconv_close(cd);
  return out;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view text) { return Convert(text, "UTF-8", "WINDOWS-1251"); }
std::string Utf8ToCp1251(std::string_view text) { return Convert(text, "WINDOWS-1251", "UTF-8"); }

}  // namespace bd
